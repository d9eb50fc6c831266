#pragma once
// telvix-cli's whole run: parses the command line, builds the machine (the real one, the demo's
// emulator, an emulated interface against the configured servers, or one a test hands in), runs
// the command and returns the exit code.
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "tools/cli/CliSession.h"

class Clock;
class SystemPort;

struct CliEnvironment {
    std::ostream& out;
    std::ostream& err;
    bool stdinIsTerminal = false;
    bool stdoutIsTerminal = false;
    std::function<std::optional<std::string>()> readLine;
    // When set, the program runs on this machine (tests); --demo and the real machine are not used.
    const CliMachine* machine = nullptr;
    // When set, the machine the run builds keeps time by this clock (its emulated interface too)
    // and waits out each tick with waitTick instead of a real 100 ms sleep (tests).
    Clock* clock = nullptr;
    std::function<void()> waitTick;
    // When set, the machine the run builds asks this port for the network and the connector
    // installer instead of the system's (tests).
    SystemPort* system = nullptr;
};

int RunCli(const std::vector<std::string>& args, const CliEnvironment& environment);
