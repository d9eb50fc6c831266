#pragma once
// Sets (or, without a value, removes) an environment variable of the test program.
#include <optional>
#include <string>

void SetTestEnvironment(const std::string& name, const std::optional<std::string>& value);

// Lets workers, the device and the emulator run for a moment before the next step of a test.
// It really pauses on every system: a sleep shorter than a millisecond returns at once on Windows,
// and a harness that then ticks at full speed outruns every bound counted in ticks.
void PauseBriefly();
