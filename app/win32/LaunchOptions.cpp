#include "app/win32/LaunchOptions.h"

#include <cctype>

#include "sim/demo/DemoData.h"

namespace {
std::string Upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}
}  // namespace

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    LaunchOptions options;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& arg = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (arg == "-h" || arg == "--help" || arg == "/?") {
            options.help = true;
        } else if (arg == "-v" || arg == "--version") {
            options.version = true;
        } else if (arg == "--demo") {
            options.demo = true;
        } else if (arg == "--demo-data" && hasValue) {
            options.demoDataDir = arguments[++i];
        } else if (arg == "--screenshot-session" && hasValue) {
            options.screenshotDir = arguments[++i];
            options.demo = true;
        } else if (!arg.empty() && arg[0] == '-') {
            return {std::nullopt, "unknown option " + arg};
        } else {
            positional.push_back(arg);
        }
    }
    if (!positional.empty() && !options.demo) {
        return {std::nullopt, "a model code is given only with --demo"};
    }
    if (positional.size() > 1) {
        return {std::nullopt, "give at most one model code"};
    }
    options.demoModel = positional.empty() ? kDemoDefaultModel : Upper(positional.front());
    if (options.demo && !IsKnownModel(options.demoModel)) {
        return {std::nullopt, "unknown model code " + options.demoModel +
                                  "; known: QD7720R QD772ER QH7720R QH772ER WD7731R WH7731R WE5581R WJ7731R "
                                  "TN7931R WE5540R TN7581R TN7580R"};
    }
    return {options, {}};
}

std::string VersionText() {
    return "telvix-updater 4.0.0\n";
}

std::string UsageText() {
    return "Usage: telvix-updater.exe [--demo [MODEL]] [--demo-data DIR]\n"
           "Telvix.i Software Updater: finds an attached Telvix video interface, searches the software\n"
           "catalogue for it and installs the chosen software.\n"
           "\n"
           "  --demo [MODEL]    run against an emulated interface of MODEL (default QD7720R) with the\n"
           "                    embedded catalogue and image store, beside a demo control window\n"
           "  --demo-data DIR   write the demo's catalogue and images into DIR (default: a fresh\n"
           "                    temporary folder)\n"
           "  -h, --help        this text\n"
           "  -v, --version     the program's version\n"
           "\n"
           "Without --demo the catalogue and image server come from the settings file\n"
           "(TELVIX_UPDATER_CONFIG, updater.ini beside the program, %APPDATA%\\Telvix "
           "Updater\\updater.ini),\n"
           "else the fixed endpoints.\n";
}
