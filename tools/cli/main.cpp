// telvix-cli: the command-line front end of the Telvix updater.
#include <iostream>
#include <string>
#include <vector>

#include "platform/SystemAdapters.h"
#include "tools/cli/CliMain.h"

int main(int argc, char** argv) {
    const ConsoleSetup console = SetUpConsole(argc, argv);
    CliEnvironment environment{std::cout,
                               std::cerr,
                               console.stdinIsTerminal,
                               console.stdoutIsTerminal,
                               []() -> std::optional<std::string> {
                                   std::string line;
                                   if (!std::getline(std::cin, line))
                                       return std::nullopt;
                                   if (!line.empty() && line.back() == '\r')
                                       line.pop_back();
                                   return line;
                               },
                               nullptr};
    return RunCli(console.arguments, environment);
}
