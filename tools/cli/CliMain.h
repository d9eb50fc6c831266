#pragma once
// telvix-cli's whole run: parses the command line, builds the machine (the real one, the demo's
// emulator or one a test hands in), runs the command and returns the exit code.
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "tools/cli/CliSession.h"

struct CliEnvironment {
    std::ostream& out;
    std::ostream& err;
    bool stdinIsTerminal = false;
    bool stdoutIsTerminal = false;
    std::function<std::optional<std::string>()> readLine;
    // When set, the program runs on this machine (tests); --demo and the real machine are not used.
    const CliMachine* machine = nullptr;
};

int RunCli(const std::vector<std::string>& args, const CliEnvironment& environment);
