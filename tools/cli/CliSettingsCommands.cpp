#include "tools/cli/CliSettingsCommands.h"

#include <nlohmann/json.hpp>

#include <iomanip>
#include <ostream>
#include <sstream>

#include "app/ControllerTexts.h"
#include "app/UpdaterContext.h"
#include "platform/Text.h"
#include "settings/SettingsRequests.h"
#include "tools/cli/RecordFields.h"

namespace {
using Json = nlohmann::ordered_json;

std::string Utf8(const std::u16string& text) {
    return ToUtf8(text);
}

void PrintFields(const std::vector<FieldValue>& fields, bool json, std::ostream& out,
                 const std::string& raw) {
    if (json) {
        Json j;
        for (const FieldValue& f : fields) {
            if (f.kind == FieldKind::Bit)
                j[f.name] = f.number != 0;
            else if (f.kind == FieldKind::Text)
                j[f.name] = f.text;
            else
                j[f.name] = f.number;
        }
        j["raw"] = raw;
        out << j.dump(2) << "\n";
        return;
    }
    for (const FieldValue& f : fields) {
        std::string value = f.kind == FieldKind::Bit    ? (f.number ? "on" : "off")
                            : f.kind == FieldKind::Text ? f.text
                                                        : std::to_string(f.number);
        if (f.kind == FieldKind::Number && !f.text.empty())
            value += " (" + f.text + ")";
        out << std::left << std::setw(32) << f.name << value << (f.writable ? "" : "  [read-only]") << "\n";
    }
    out << std::left << std::setw(32) << "raw" << raw << "\n";
}

template <std::size_t N>
std::string Hex(const std::array<std::uint8_t, N>& bytes) {
    std::ostringstream s;
    for (std::size_t i = 0; i < N; ++i)
        s << (i ? " " : "") << std::hex << std::setw(2) << std::setfill('0') << static_cast<int>(bytes[i]);
    return s.str();
}

// Waits for the controller's message after a settings or overlay write.
int WaitWriteMessage(CliSession& session, std::size_t shownBefore, std::u16string_view ok,
                     std::u16string_view failed, std::ostream& err) {
    auto said = [&](std::u16string_view text) {
        for (std::size_t i = shownBefore; i < session.messages.shown.size(); ++i) {
            if (session.messages.shown[i] == text)
                return true;
        }
        return false;
    };
    if (!session.RunUntil([&] { return said(ok) || said(failed); }, std::chrono::seconds(30))) {
        err << "error: the interface did not answer the write\n";
        return EXIT_DEVICE_OPERATION;
    }
    return said(ok) ? EXIT_OK : EXIT_DEVICE_OPERATION;
}

// Says why a request was not taken, as the windows do (a warning on stderr).
bool Refused(CliSession& session, const SettingsOutcome& outcome) {
    if (outcome.Refused())
        session.messages.Show(std::u16string(outcome.refusal), MessageIcon::Warning, MessageButtons::Ok);
    return outcome.Refused();
}

bool ReadOverlay(CliSession& session, std::ostream& err) {
    session.Context().overlayReceived = false;
    session.Program().RequestOverlayRead();
    if (session.RunUntil([&] { return session.Context().overlayReceived; }, std::chrono::seconds(10)))
        return true;
    err << "error: the interface did not send its overlay settings\n";
    return false;
}

constexpr const char* kFeatureNames[] = {"rear", "aux", "nav"};
constexpr const char* kFeatureTitles[] = {"Rear Camera", "Auxilary Input", "Navigation Input"};

std::optional<std::uint8_t> ParseFeatureChoice(const std::string& list) {
    if (list == "none")
        return 0;
    std::uint8_t bits = 0;
    std::istringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) {
        bool known = false;
        for (int i = 0; i < 3; ++i) {
            if (item == kFeatureNames[i]) {
                bits = static_cast<std::uint8_t>(bits | (1u << i));
                known = true;
            }
        }
        if (!known)
            return std::nullopt;
    }
    return bits;
}

}  // namespace

int ConfigShow(CliSession& session, const CliRequest& request, std::ostream& out) {
    const DeviceConfig& config = session.Context().deviceConfig;
    PrintFields(DecodeConfigFields(config), request.json, out, Hex(config.bytes()));
    return EXIT_OK;
}

int ConfigSet(CliSession& session, const CliRequest& request, std::ostream& err) {
    UpdaterContext& ctx = session.Context();
    DeviceConfig edited = ctx.deviceConfig;
    for (const std::string& assignment : request.assignments) {
        if (auto error = ApplyConfigAssignment(edited, assignment)) {
            err << "error: " << *error << "\n";
            return EXIT_USAGE;
        }
    }
    const std::size_t shownBefore = session.messages.shown.size();
    // What a settings window's Accept does: the edited record, then the idle-state write request.
    if (Refused(session, RequestConfigWrite(ctx, edited)))
        return EXIT_DEVICE_OPERATION;
    return WaitWriteMessage(session, shownBefore, texts::kSettingsUpdated, texts::kSettingsWriteError, err);
}

int OverlayCommand(CliSession& session, const CliRequest& request, std::ostream& out, std::ostream& err) {
    const bool show = request.command == "overlay-show";
    // Refused before the read too: an install waits for the interface's replies.
    if (!show && Refused(session, CheckSettingsChange(session.Context())))
        return EXIT_DEVICE_OPERATION;
    if (!ReadOverlay(session, err))
        return EXIT_DEVICE_OPERATION;
    UpdaterContext& ctx = session.Context();
    if (show) {
        PrintFields(DecodeOverlayFields(ctx.overlayConfig), request.json, out,
                    Hex(ctx.overlayConfig.bytes()));
        return EXIT_OK;
    }
    OverlayConfig edited = ctx.overlayConfig;
    for (const std::string& assignment : request.assignments) {
        if (auto error = ApplyOverlayAssignment(edited, assignment)) {
            err << "error: " << *error << "\n";
            return EXIT_USAGE;
        }
    }
    const std::size_t shownBefore = session.messages.shown.size();
    if (Refused(session, RequestOverlayWrite(ctx, edited)))
        return EXIT_DEVICE_OPERATION;
    return WaitWriteMessage(session, shownBefore, texts::kOsdUpdated, texts::kOsdWriteError, err);
}

int Features(CliSession& session, const CliRequest& request, std::ostream& out, std::ostream& err) {
    std::optional<std::uint8_t> choice;
    if (request.programFeatures) {
        choice = ParseFeatureChoice(*request.programFeatures);
        if (!choice) {
            err << "error: --program takes a comma list of rear, aux, nav, or none\n";
            return EXIT_USAGE;
        }
    }
    UpdaterContext& ctx = session.Context();
    session.features.read.reset();
    if (!session.Program().OnFeatureActivation())
        return EXIT_DEVICE_OPERATION;  // the program has said why
    if (!session.RunUntil([&] { return session.features.read.has_value(); }, std::chrono::seconds(10))) {
        err << "error: the interface did not answer the feature read\n";
        return EXIT_DEVICE_OPERATION;
    }
    if (session.features.read->failed) {
        err << "error: " << Utf8(session.features.read->text) << "\n";
        return EXIT_DEVICE_OPERATION;
    }
    if (!choice) {
        Json j;
        for (int i = 0; i < 3; ++i)
            j[kFeatureNames[i]] = (ctx.featureBits >> i & 1) != 0;
        j["featureByte"] = ctx.featureBits;
        if (request.json) {
            out << j.dump(2) << "\n";
        } else {
            for (int i = 0; i < 3; ++i)
                out << std::left << std::setw(18) << kFeatureTitles[i]
                    << ((ctx.featureBits >> i & 1) ? "on" : "off") << "  (" << kFeatureNames[i] << ")\n";
        }
        return EXIT_OK;
    }
    // Accept in the features dialog: the choice becomes bits 0..2, bits 3..7 stay as read.
    session.features.write.reset();
    if (Refused(session,
                RequestFeatureWrite(ctx, static_cast<std::uint8_t>((ctx.featureBits & ~0x07u) | *choice))))
        return EXIT_DEVICE_OPERATION;
    if (!session.RunUntil([&] { return session.features.write.has_value(); }, std::chrono::minutes(2))) {
        err << "error: the feature programming did not finish in time\n";
        return EXIT_DEVICE_OPERATION;
    }
    const std::string text = Utf8(session.features.write->text);
    (session.features.write->failed ? err : out) << text << "\n";
    return session.features.write->failed ? EXIT_DEVICE_OPERATION : EXIT_OK;
}
