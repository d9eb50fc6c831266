#pragma once
// The settings subcommands: config show/set, overlay show/set and features, on a session that has
// reached idle with the interface in application mode.
#include <iosfwd>

#include "tools/cli/CliCommands.h"

int ConfigShow(CliSession& session, const CliRequest& request, std::ostream& out);
int ConfigSet(CliSession& session, const CliRequest& request, std::ostream& err);
// overlay-show and overlay-set.
int OverlayCommand(CliSession& session, const CliRequest& request, std::ostream& out, std::ostream& err);
int Features(CliSession& session, const CliRequest& request, std::ostream& out, std::ostream& err);
