#pragma once
// Sets (or, without a value, removes) an environment variable of the test program.
#include <optional>
#include <string>

void SetTestEnvironment(const std::string& name, const std::optional<std::string>& value);
