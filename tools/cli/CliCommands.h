#pragma once
// The subcommands on a started session: each waits for the program to reach idle with the
// interface, then drives the same window commands and idle-state requests the windows use.
#include <chrono>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "tools/cli/CliSession.h"

// Exit codes of telvix-cli.
enum CliExit : int {
    EXIT_OK = 0,
    EXIT_ERROR = 1,             // anything not listed below
    EXIT_USAGE = 2,             // bad options or values, a question without an answer
    EXIT_NO_DEVICE = 3,         // no interface found (or not accessible), or it is in the wrong mode
    EXIT_CATALOGUE = 4,         // the catalogue could not be reached or read
    EXIT_INSTALL = 5,           // the install ended with "Aborted"
    EXIT_DEVICE_OPERATION = 6,  // a settings, overlay or feature read or write failed
};

struct SearchFilter {
    std::string make, model, year;
    bool manualTransmission = false;
};

struct CliRequest {
    std::string
        command;  // status, search, install, config-show, config-set, overlay-show, overlay-set, features
    bool json = false;
    SearchFilter filter;
    std::optional<int> row;  // install: a result row of the search
    std::optional<int> swId, swBuild;
    std::vector<std::string> assignments;
    std::optional<std::string> programFeatures;  // features: "rear,aux,nav" or "none"
    std::chrono::milliseconds connectTimeout{std::chrono::seconds(20)};
    std::chrono::milliseconds installTimeout{std::chrono::minutes(15)};
};

// Runs the request on a session that has not been started yet.
int RunCommand(CliSession& session, const CliRequest& request, std::ostream& out, std::ostream& err);

// The text that tells a user why a present interface cannot be opened, or nothing.
std::optional<std::string> PermissionHint(const UpdaterContext& ctx);
