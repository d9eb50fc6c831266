#include "tests/support/TestEnvironment.h"

#include <cstdlib>

void SetTestEnvironment(const std::string& name, const std::optional<std::string>& value) {
    // An empty value removes the variable.
    _putenv_s(name.c_str(), value ? value->c_str() : "");
}
