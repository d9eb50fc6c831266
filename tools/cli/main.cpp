// telvix-cli: the command-line front end of the Telvix updater.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "retrieval/TransferLibrary.h"
#include "tools/cli/CliMain.h"

int main(int argc, char** argv) {
    TransferLibraryScope transfers;  // before the program starts any thread
    std::vector<std::string> args(argv + 1, argv + argc);
    CliEnvironment environment{std::cout,
                               std::cerr,
                               isatty(STDIN_FILENO) == 1,
                               isatty(STDOUT_FILENO) == 1,
                               []() -> std::optional<std::string> {
                                   std::string line;
                                   if (!std::getline(std::cin, line))
                                       return std::nullopt;
                                   return line;
                               },
                               nullptr,
                               nullptr,
                               {},
                               nullptr};
    return RunCli(args, environment);
}
