#pragma once
// The desktop program's command line: --demo [MODEL], --demo-data DIR, --help, --version, and the
// screenshot session that scripts/screenshots-windows runs. Pure, so tests can parse.
#include <optional>
#include <string>
#include <vector>

struct LaunchOptions {
    bool demo = false;
    std::string demoModel;      // the emulated interface's model code
    std::string demoDataDir;    // where the demo's catalogue and images are written (UTF-8)
    std::string screenshotDir;  // non-empty: run the scripted screenshot session into it
    bool help = false;
    bool version = false;
};

struct ParsedCommandLine {
    std::optional<LaunchOptions> options;
    std::string error;  // why the command line was refused, when options is empty
};

ParsedCommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// What --help and --version print.
std::string UsageText();
std::string VersionText();
