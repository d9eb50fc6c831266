#include "config/ConfigCodecs.h"

namespace {
void AppendLatin1(std::u16string& out, std::string_view text) {
    for (const char c : text) {
        out.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
    }
}

void AppendDecimal(std::u16string& out, unsigned value) {
    AppendLatin1(out, std::to_string(value));
}
}  // namespace

std::u16string FormatMcuSerial(const McuId& mcuId) {
    static constexpr char16_t kHex[] = u"0123456789ABCDEF";
    std::u16string serial;
    serial.reserve(35);
    for (std::size_t i = 0; i < mcuId.size(); ++i) {
        if (i != 0 && i % 4 == 0) {
            serial.push_back(u'-');
        }
        serial.push_back(kHex[mcuId[i] >> 4]);
        serial.push_back(kHex[mcuId[i] & 0xF]);
    }
    return serial;
}

std::u16string FormatIdentitySummary(std::u16string_view mfgId, std::uint16_t softwareId,
                                     std::uint8_t softwareBuild, const DeviceConfig& config,
                                     std::u16string_view mcuSerial) {
    std::u16string text = u"ID: ";
    text += mfgId;
    text += u", Software ID: ";
    AppendDecimal(text, softwareId);
    text += u", Software Build: ";
    AppendDecimal(text, softwareBuild);
    text += u", Make: ";
    AppendLatin1(text, config.vehicleMake());
    text += u", Model: ";
    AppendLatin1(text, config.vehicleModel());
    text += u", MCU Serial: ";
    text += mcuSerial;
    return text;
}
