#include "tools/cli/RecordFields.h"

#include <algorithm>
#include <charconv>
#include <functional>
#include <utility>

#include "platform/Text.h"

namespace {
struct FieldSpec {
    const char* name;
    FieldKind kind;
    std::function<int(const DeviceConfig&)> get;
    std::function<void(DeviceConfig&, int)> set;  // empty: set by the interface
    int max = 1;
    std::vector<std::pair<std::string, int>> names;  // value names of a coded number
};

template <typename Bit>
FieldSpec BitField(const char* name, Bit bit, bool writable = true) {
    FieldSpec spec{name, FieldKind::Bit, [bit](const DeviceConfig& c) { return c.has(bit) ? 1 : 0; }, {}, 1,
                   {}};
    if (writable)
        spec.set = [bit](DeviceConfig& c, int v) { c.set(bit, v != 0); };
    return spec;
}

const std::vector<std::pair<std::string, int>> kCameraModeNames{
    {"off", 0},
    {"manual", CAMERA_MODE_MANUAL},
    {"without-speed-check", CAMERA_MODE_WITHOUT_SPEED_CHECK},
    {"with-speed-check", CAMERA_MODE_WITH_SPEED_CHECK}};
const std::vector<std::pair<std::string, int>> kSyncNames{
    {"none", SYNC_NONE}, {"positive", SYNC_POSITIVE}, {"negative", SYNC_NEGATIVE}};
const std::vector<std::pair<std::string, int>> kSourceNames{{"not-used", SOURCE_NOT_USED},
                                                            {"video", SOURCE_VIDEO},
                                                            {"camera", SOURCE_CAMERA},
                                                            {"camera-alt", SOURCE_CAMERA_ALT}};

FieldSpec InputSource(const char* name, int input) {
    return {name,
            FieldKind::Number,
            [input](const DeviceConfig& c) { return c.inputSource(input); },
            [input](DeviceConfig& c, int v) { c.setInputSource(input, static_cast<std::uint8_t>(v)); },
            3,
            kSourceNames};
}

const std::vector<FieldSpec>& ConfigSpecs() {
    static const std::vector<FieldSpec> specs = [] {
        std::vector<FieldSpec> s;
        s.push_back(BitField("capabilities.input1Audio", CAP_INPUT1_AUDIO, false));
        s.push_back(BitField("capabilities.features", CAP_FEATURES, false));
        s.push_back(BitField("capabilities.videoSettings", CAP_VIDEO_SETTINGS, false));
        s.push_back(BitField("capabilities.rearInput", CAP_REAR_INPUT, false));
        s.push_back(BitField("capabilities.frontInput", CAP_FRONT_INPUT, false));
        s.push_back(BitField("capabilities.leftInput", CAP_LEFT_INPUT, false));
        s.push_back(BitField("capabilities.rightInput", CAP_RIGHT_INPUT, false));
        s.push_back(BitField("cameraFlags.aftermarketRear", CAM_AFTERMARKET_REAR));
        s.push_back(BitField("cameraFlags.aftermarketFront", CAM_AFTERMARKET_FRONT));
        s.push_back(BitField("cameraFlags.aftermarketLeft", CAM_AFTERMARKET_LEFT));
        s.push_back(BitField("cameraFlags.aftermarketRight", CAM_AFTERMARKET_RIGHT));
        s.push_back(BitField("cameraFlags.factoryRear", CAM_FACTORY_REAR));
        s.push_back(BitField("cameraFlags.factoryFront", CAM_FACTORY_FRONT));
        s.push_back(BitField("cameraFlags.factoryLeft", CAM_FACTORY_LEFT));
        s.push_back(BitField("inputEnables.hdmi", IN_HDMI));
        s.push_back(BitField("inputEnables.rear", IN_REAR));
        s.push_back(BitField("inputEnables.front", IN_FRONT));
        s.push_back(BitField("inputEnables.left", IN_LEFT));
        s.push_back(BitField("inputEnables.right", IN_RIGHT));
        s.push_back(BitField("cameraModes.factoryRight", CAM_FACTORY_RIGHT));
        s.push_back({"cameraModes.frontCameraMode", FieldKind::Number,
                     [](const DeviceConfig& c) { return c.frontCameraMode(); },
                     [](DeviceConfig& c, int v) { c.setFrontCameraMode(static_cast<std::uint8_t>(v)); }, 3,
                     kCameraModeNames});
        s.push_back({"cameraModes.laneCameraMode", FieldKind::Number,
                     [](const DeviceConfig& c) { return c.laneCameraMode(); },
                     [](DeviceConfig& c, int v) { c.setLaneCameraMode(static_cast<std::uint8_t>(v)); }, 7,
                     kCameraModeNames});
        s.push_back(BitField("videoOptions.vimSupported", VID_VIM_SUPPORTED));
        s.push_back(BitField("videoOptions.parkingLinesOff", VID_PARKING_LINES_OFF));
        s.push_back({"videoOptions.videoInputCount",
                     FieldKind::Number,
                     [](const DeviceConfig& c) { return c.videoInputCount(); },
                     [](DeviceConfig& c, int v) { c.setVideoInputCount(static_cast<std::uint8_t>(v)); },
                     7,
                     {}});
        s.push_back(BitField("videoSignal.syncOnGreen", SIG_SYNC_ON_GREEN));
        s.push_back(BitField("videoSignal.videoInMotion", SIG_VIDEO_IN_MOTION));
        s.push_back({"videoSignal.syncPolarity", FieldKind::Number,
                     [](const DeviceConfig& c) { return c.syncPolarity(); },
                     [](DeviceConfig& c, int v) { c.setSyncPolarity(static_cast<std::uint8_t>(v)); }, 3,
                     kSyncNames});
        s.push_back(InputSource("inputSources.input1", 1));
        s.push_back(InputSource("inputSources.input2", 2));
        s.push_back(InputSource("inputSources.input3", 3));
        s.push_back(InputSource("inputSources.input4", 4));
        s.push_back({"totalUpdates",
                     FieldKind::Number,
                     [](const DeviceConfig& c) { return c.totalUpdates(); },
                     {},
                     65535,
                     {}});
        return s;
    }();
    return specs;
}

std::optional<int> ParseInt(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    int base = 10;
    const char* begin = text.data();
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        begin += 2;
    }
    auto [ptr, ec] = std::from_chars(begin, end, value, base);
    if (ec != std::errc() || ptr != end || begin == end)
        return std::nullopt;
    return value;
}

std::optional<int> ParseBit(const std::string& text) {
    static const std::pair<const char*, int> words[] = {{"1", 1}, {"on", 1},  {"true", 1},  {"yes", 1},
                                                        {"0", 0}, {"off", 0}, {"false", 0}, {"no", 0}};
    for (const auto& [word, value] : words) {
        if (text == word)
            return value;
    }
    return std::nullopt;
}

std::string ValueName(const FieldSpec& spec, int value) {
    for (const auto& [name, code] : spec.names) {
        if (code == value)
            return name;
    }
    return {};
}

bool SplitAssignment(const std::string& assignment, std::string& name, std::string& value) {
    const auto eq = assignment.find('=');
    if (eq == std::string::npos || eq == 0)
        return false;
    name = assignment.substr(0, eq);
    value = assignment.substr(eq + 1);
    return true;
}

const std::string kBadForm = "expected FIELD=VALUE, got \"";

// Overlay fields: per camera position an overlay switch and the caption choice.
const char* kPositionNames[] = {"rear", "front", "left", "right"};
}  // namespace

std::vector<FieldValue> DecodeConfigFields(const DeviceConfig& config) {
    std::vector<FieldValue> fields;
    fields.push_back({"vehicleMake", FieldKind::Text, 0, ToUtf8(WidenLatin1(config.vehicleMake())), false});
    fields.push_back({"vehicleModel", FieldKind::Text, 0, ToUtf8(WidenLatin1(config.vehicleModel())), false});
    for (const FieldSpec& spec : ConfigSpecs()) {
        const int value = spec.get(config);
        fields.push_back({spec.name, spec.kind, value, ValueName(spec, value), static_cast<bool>(spec.set)});
    }
    return fields;
}

std::optional<std::string> ApplyConfigAssignment(DeviceConfig& config, const std::string& assignment) {
    std::string name, value;
    if (!SplitAssignment(assignment, name, value))
        return kBadForm + assignment + "\"";
    const auto& specs = ConfigSpecs();
    const auto spec =
        std::find_if(specs.begin(), specs.end(), [&](const FieldSpec& s) { return name == s.name; });
    if (spec == specs.end()) {
        if (name == "vehicleMake" || name == "vehicleModel")
            return name + " is set by an install, not by hand";
        return "unknown field \"" + name + "\" (see config show)";
    }
    if (!spec->set)
        return name + " is the interface's own and cannot be set";
    std::optional<int> number = spec->kind == FieldKind::Bit ? ParseBit(value) : ParseInt(value);
    for (const auto& [valueName, code] : spec->names) {
        if (value == valueName)
            number = code;
    }
    if (!number || *number < 0 || *number > spec->max)
        return "bad value \"" + value + "\" for " + name;
    spec->set(config, *number);
    return std::nullopt;
}

std::vector<FieldValue> DecodeOverlayFields(const OverlayConfig& overlay) {
    std::vector<FieldValue> fields;
    for (const auto position : kCameraPositions) {
        const std::string prefix = kPositionNames[Index(position)];
        fields.push_back(
            {prefix + ".overlay", FieldKind::Bit, overlay.overlayEnabled(position) ? 1 : 0, {}, true});
        const bool camera = overlay.cameraCaption(position);
        fields.push_back(
            {prefix + ".caption", FieldKind::Text, camera ? 1 : 0, camera ? "camera" : "input", true});
    }
    return fields;
}

std::optional<std::string> ApplyOverlayAssignment(OverlayConfig& overlay, const std::string& assignment) {
    std::string name, value;
    if (!SplitAssignment(assignment, name, value))
        return kBadForm + assignment + "\"";
    for (const auto position : kCameraPositions) {
        const std::string prefix = kPositionNames[Index(position)];
        if (name == prefix + ".overlay") {
            const auto bit = ParseBit(value);
            if (!bit)
                return "bad value \"" + value + "\" for " + name;
            overlay.setOverlayEnabled(position, *bit != 0);
            overlay.setOverlayParams(kOverlayParams);
            return std::nullopt;
        }
        if (name == prefix + ".caption") {
            if (value != "camera" && value != "input")
                return "bad value \"" + value + "\" for " + name + " (camera or input)";
            overlay.setCameraCaption(position, value == "camera");
            overlay.setOverlayParams(kOverlayParams);
            return std::nullopt;
        }
    }
    return "unknown field \"" + name + "\" (see overlay show)";
}
