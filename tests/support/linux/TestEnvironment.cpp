#include "tests/support/TestEnvironment.h"

#include <chrono>
#include <cstdlib>
#include <thread>

void SetTestEnvironment(const std::string& name, const std::optional<std::string>& value) {
    if (value)
        setenv(name.c_str(), value->c_str(), 1);
    else
        unsetenv(name.c_str());
}

void PauseBriefly() {
    std::this_thread::sleep_for(std::chrono::microseconds(200));
}
