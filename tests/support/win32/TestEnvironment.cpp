#include "tests/support/TestEnvironment.h"

#include <chrono>
#include <cstdlib>
#include <thread>

void SetTestEnvironment(const std::string& name, const std::optional<std::string>& value) {
    // An empty value removes the variable.
    _putenv_s(name.c_str(), value ? value->c_str() : "");
}

void PauseBriefly() {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
}
