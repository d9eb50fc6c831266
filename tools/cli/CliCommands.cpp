#include "tools/cli/CliCommands.h"

#include <nlohmann/json.hpp>

#include <iomanip>
#include <ostream>
#include <sstream>

#include "app/ControllerTexts.h"
#include "app/UpdaterContext.h"
#include "platform/Text.h"
#include "tools/cli/CliSettingsCommands.h"

namespace {
using Json = nlohmann::ordered_json;

std::string Utf8(const std::u16string& text) {
    return ToUtf8(text);
}

const char* LinkModeName(std::int32_t mode) {
    switch (mode) {
        case USB_APPLICATION:
            return "application";
        case USB_BOOTLOADER:
            return "bootloader";
        case USB_MASS_STORAGE:
            return "update-volume";
        case USB_CONNECTING:
            return "connecting";
        default:
            return "not-connected";
    }
}

// Start-up until idle with the interface: the connect, the identification and the upgrade offer.
int WaitReady(CliSession& session, const CliRequest& request, std::ostream& err) {
    session.Start();
    const bool ready =
        session.RunUntil([&] { return session.Context().mainState == MS_IDLE; }, request.connectTimeout);
    // A refused question ends the command, whatever the controller did after the "no".
    if (session.messages.refused)
        return EXIT_USAGE;
    if (ready)
        return EXIT_OK;
    const std::int32_t state = session.Context().mainState;
    if (session.Closed() || state == MS_CHECK_ODBC) {
        err << "error: the catalogue's database driver is not installed\n";
        return EXIT_CATALOGUE;
    }
    if (auto hint = PermissionHint(session.Context())) {
        err << "error: " << *hint << "\n";
    } else {
        err << "error: " << Utf8(std::u16string(texts::kDeviceDisconnected))
            << ": no Telvix interface found (is it attached by USB?)\n";
    }
    return EXIT_NO_DEVICE;
}

bool RequireApplicationMode(CliSession& session, std::ostream& err) {
    if (session.Context().iUsbConnectSts.load() == USB_APPLICATION && session.Context().identityKnown)
        return true;
    err << "error: the interface is in " << LinkModeName(session.Context().iUsbConnectSts.load())
        << " mode; this needs it running its application\n";
    return false;
}

int Status(CliSession& session, const CliRequest& request, std::ostream& out) {
    UpdaterContext& ctx = session.Context();
    const bool identified = ctx.identityKnown;
    const bool catalogueFailed = identified && ctx.dbResult.load() == DB_FAILED;
    Json j;
    j["link"] = LinkModeName(ctx.iUsbConnectSts.load());
    j["model"] = Utf8(ctx.mfg_id);
    if (identified) {
        j["identity"] = Utf8(session.Program().IdentitySummary());
        j["vehicle"] = Utf8(session.deviceArea.vehicle);
        j["softwareId"] = ctx.softwareId;
        j["softwareBuild"] = ctx.softwareBuild;
        j["software"] = Utf8(session.deviceArea.features);
        j["mcuSerial"] = Utf8(ctx.mcu_serial);
        j["labelSerial"] = Utf8(ctx.label_serial);
    }
    j["status"] = Utf8(session.deviceArea.status);
    if (request.json) {
        out << j.dump(2) << "\n";
    } else {
        for (const auto& [key, value] : j.items()) {
            out << std::left << std::setw(15) << (key + ":") << " "
                << (value.is_string() ? value.get<std::string>() : value.dump()) << "\n";
        }
    }
    return catalogueFailed ? EXIT_CATALOGUE : EXIT_OK;
}

// Chooses the filters in the lists as a user would, then runs the search.
int Search(CliSession& session, const SearchFilter& filter, std::ostream& err) {
    TerminalSearchPanel& panel = session.searchPanel;
    auto choose = [&](SearchList list, const std::string& value, const char* what) {
        if (value.empty())
            return EXIT_OK;
        if (panel.SelectIgnoringCase(list, FromUtf8(value)))
            return EXIT_OK;
        const auto& entries = panel.Entries(list).entries;
        if (entries.size() <= 1) {
            err << "error: the catalogue lists no " << what << "s for this interface\n";
            return EXIT_CATALOGUE;
        }
        err << "error: unknown " << what << " \"" << value << "\"; known:";
        for (std::size_t i = 1; i < entries.size(); ++i)
            err << (i > 1 ? ", " : " ") << Utf8(entries[i]);
        err << "\n";
        return EXIT_USAGE;
    };
    if (int rc = choose(SearchList::Make, filter.make, "make"))
        return rc;
    if (!filter.make.empty())
        session.Program().OnMakeSelected();
    if (int rc = choose(SearchList::Model, filter.model, "model"))
        return rc;
    if (int rc = choose(SearchList::Year, filter.year, "year"))
        return rc;
    panel.manualTransmission = filter.manualTransmission;
    const std::size_t shownBefore = session.messages.shown.size();
    session.Program().OnSearch();
    if (panel.resultLabel.rfind(u"Error", 0) == 0 || session.messages.shown.size() != shownBefore) {
        err << "error: the catalogue search failed\n";
        return EXIT_CATALOGUE;
    }
    return EXIT_OK;
}

Json ResultRows(CliSession& session) {
    Json rows = Json::array();
    for (int row = 0; row < session.searchPanel.ResultCount(); ++row) {
        const SearchRow& kept = session.Context().SearchRows[static_cast<std::size_t>(row)];
        const TerminalSearchPanel& panel = session.searchPanel;
        rows.push_back({{"row", row},
                        {"make", Utf8(panel.ResultText(row, ResultColumn::Make))},
                        {"model", Utf8(panel.ResultText(row, ResultColumn::Model))},
                        {"year", Utf8(panel.ResultText(row, ResultColumn::Year))},
                        {"swId", kept.sw_id},
                        {"swBuild", kept.sw_build},
                        {"features", Utf8(panel.ResultText(row, ResultColumn::Features))}});
    }
    return rows;
}

// A column of width characters (not bytes: the catalogue's texts are UTF-8), at least one blank after.
std::string Pad(const std::string& text, std::size_t width) {
    const std::size_t chars = FromUtf8(text).size();
    return text + std::string(chars < width ? width - chars : 1, ' ');
}

void PrintRows(const Json& rows, std::ostream& out) {
    out << Pad("ROW", 4) << Pad("MAKE", 18) << Pad("MODEL", 16) << Pad("YEAR", 11) << Pad("SW", 10)
        << "FEATURES\n";
    for (const Json& r : rows) {
        const std::string sw =
            std::to_string(r["swId"].get<int>()) + "/" + std::to_string(r["swBuild"].get<int>());
        out << Pad(std::to_string(r["row"].get<int>()), 4) << Pad(r["make"].get<std::string>(), 18)
            << Pad(r["model"].get<std::string>(), 16) << Pad(r["year"].get<std::string>(), 11) << Pad(sw, 10)
            << r["features"].get<std::string>() << "\n";
    }
}

int SearchCommand(CliSession& session, const CliRequest& request, std::ostream& out, std::ostream& err) {
    if (int rc = Search(session, request.filter, err))
        return rc;
    const Json rows = ResultRows(session);
    if (request.json) {
        out << rows.dump(2) << "\n";
    } else {
        PrintRows(rows, out);
        out << Utf8(session.searchPanel.resultLabel) << "\n";
    }
    return EXIT_OK;
}

int FindRow(CliSession& session, const CliRequest& request, std::ostream& err) {
    const int count = session.searchPanel.ResultCount();
    if (request.row) {
        if (*request.row < 0 || *request.row >= count) {
            err << "error: the search has no row " << *request.row << " (" << count << " rows)\n";
            return -1;
        }
        return *request.row;
    }
    for (int row = 0; row < count; ++row) {
        const SearchRow& kept = session.Context().SearchRows[static_cast<std::size_t>(row)];
        if (kept.sw_id == *request.swId && (!request.swBuild || kept.sw_build == *request.swBuild))
            return row;
    }
    err << "error: no catalogue entry with software " << *request.swId
        << (request.swBuild ? "/" + std::to_string(*request.swBuild) : std::string())
        << " for this interface\n";
    return -1;
}

int Install(CliSession& session, const CliRequest& request, std::ostream& out, std::ostream& err) {
    if (!request.row && !request.swId) {
        err << "error: name the entry to install: --row N or --sw-id ID [--sw-build B]\n";
        return EXIT_USAGE;
    }
    if (int rc = Search(session, request.filter, err))
        return rc;
    const int row = FindRow(session, request, err);
    if (row < 0)
        return EXIT_USAGE;
    session.Program().OnResultClicked(row);
    if (!session.searchPanel.installEnabled) {
        err << "error: the entry of row " << row << " cannot be installed\n";
        return EXIT_USAGE;
    }
    const Json chosen = ResultRows(session)[static_cast<std::size_t>(row)];
    out << "Installing " << chosen["make"].get<std::string>() << " " << chosen["model"].get<std::string>()
        << " " << chosen["year"].get<std::string>() << " (software " << chosen["swId"].get<int>() << "/"
        << chosen["swBuild"].get<int>() << ")\n";
    session.progress.outcome.reset();
    session.Program().OnInstall();
    if (!session.RunUntil([&] { return session.progress.outcome.has_value(); }, request.installTimeout)) {
        err << "error: the install did not finish in time (last step: " << Utf8(session.progress.lastStep)
            << ")\n";
        return session.messages.refused ? EXIT_USAGE : EXIT_INSTALL;
    }
    if (!*session.progress.outcome) {
        err << "error: " << Utf8(session.progress.lastStep) << "\n";
        return EXIT_INSTALL;
    }
    UpdaterContext& ctx = session.Context();
    out << "The interface now carries software " << ctx.softwareId << "/"
        << static_cast<int>(ctx.softwareBuild) << " for " << Utf8(WidenLatin1(ctx.deviceConfig.vehicleMake()))
        << " " << Utf8(WidenLatin1(ctx.deviceConfig.vehicleModel())) << "\n";
    return EXIT_OK;
}

}  // namespace

std::optional<std::string> PermissionHint(const UpdaterContext& ctx) {
    if (ctx.deniedInterfacePath.empty())
        return std::nullopt;
    return "a Telvix interface is attached (" + ctx.deniedInterfacePath +
           ") but this user may not open it (permission denied). Install the udev rule "
           "70-telvix-interface.rules (cmake --install puts it in /usr/lib/udev/rules.d), run "
           "\"udevadm control --reload\" and attach the interface again.";
}

int RunCommand(CliSession& session, const CliRequest& request, std::ostream& out, std::ostream& err) {
    if (int rc = WaitReady(session, request, err))
        return rc;
    if (request.command == "status")
        return Status(session, request, out);
    if (request.command == "search")
        return SearchCommand(session, request, out, err);
    if (request.command == "install")
        return Install(session, request, out, err);
    if (!RequireApplicationMode(session, err))
        return EXIT_NO_DEVICE;
    if (request.command == "config-show")
        return ConfigShow(session, request, out);
    if (request.command == "config-set")
        return ConfigSet(session, request, err);
    if (request.command == "overlay-show" || request.command == "overlay-set")
        return OverlayCommand(session, request, out, err);
    if (request.command == "features")
        return Features(session, request, out, err);
    err << "error: unknown command " << request.command << "\n";
    return EXIT_USAGE;
}
