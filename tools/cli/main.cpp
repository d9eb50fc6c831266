// telvix-cli: the command-line front end of the Telvix updater.
#include <iostream>
#include <string>
#include <vector>

#include "platform/SystemAdapters.h"
#include "retrieval/TransferLibrary.h"
#include "tools/cli/CliMain.h"

int main(int argc, char** argv) {
    TransferLibraryScope transfers;  // before the program starts any thread
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
                               nullptr,
                               nullptr,
                               {},
                               nullptr};
    return RunCli(console.arguments, environment);
}
