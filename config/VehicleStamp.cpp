#include "config/ConfigCodecs.h"
#include "config/ModelCodes.h"

std::string ToVehicleText(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit <= 0xFF) {
            out.push_back(static_cast<char>(unit));
            continue;
        }
        // A high surrogate followed by a low one is a single character beyond U+FFFF.
        const bool pair = unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
                          text[i + 1] <= 0xDFFF;
        if (pair) {
            ++i;
        }
        out.push_back('?');
    }
    return out;
}

void StampVehicle(DeviceConfig& config, std::u16string_view make, std::u16string_view model,
                  std::u16string_view mfgId) {
    config.setVehicleMake(ToVehicleText(make));
    config.setVehicleModel(ToVehicleText(model));
    config.set(CAP_FEATURES, false);
    if (StampsAftermarketRear(mfgId)) {
        config.set(CAM_AFTERMARKET_REAR, true);
    }
}
