#include "sim/demo/CatalogueInterface.h"

#include <cctype>
#include <random>

#include "catalogue/CatalogueLookups.h"
#include "catalogue/CatalogueValues.h"
#include "platform/Text.h"
#include "sim/TelvixFirmware.h"

namespace {

// What the catalogue says the interface carries.
struct Carried {
    int swId = 0;
    int swBuild = 0;
    std::u16string make;
    std::u16string model;
    std::optional<int> totalUpdates;
};

std::optional<Carried> FirstRow(const CatalogueDb& db, const SqlStatement& statement, bool withUpdates) {
    DbError error;
    auto connection = db.Open(OpenMode::ReadOnly, error);
    if (!connection) {
        return std::nullopt;
    }
    std::optional<Carried> first;
    std::int32_t rows = 0;
    const bool ok = connection->Query(
        statement,
        [&](const OdbcRow& row) {
            if (first) {
                return;
            }
            first = Carried{DecimalAs<int>(row.Text("sw_id")), DecimalAs<int>(row.Text("sw_build")),
                            row.Text("vehicle_make"), row.Text("vehicle_model"), std::nullopt};
            if (withUpdates) {
                first->totalUpdates = DecimalAs<int>(row.Text("total_updates"));
            }
        },
        rows, error);
    return ok ? first : std::nullopt;
}

std::optional<Carried> RegisteredSoftware(const CatalogueDb& db, const std::string& modelCode,
                                          const ControllerId& id) {
    return FirstRow(db,
                    SqlStatement{u"SELECT sw_id, sw_build, vehicle_make, vehicle_model, total_updates FROM "
                                 u"tolvanedevice WHERE mcu_serial=? AND mfg_id=?",
                                 {FromUtf8(ControllerSerial(id)), FromUtf8(modelCode)}},
                    true);
}

std::optional<Carried> FirstValidSoftware(const CatalogueDb& db, const std::string& modelCode) {
    return FirstRow(db,
                    SqlStatement{u"SELECT sw_id, sw_build, vehicle_make, vehicle_model FROM tolvanesw WHERE "
                                 u"mfg_id=? AND sw_valid_status<>0 AND sw_id<>9999 "
                                 u"ORDER BY vehicle_make, vehicle_model, sw_id, sw_build",
                                 {FromUtf8(modelCode)}},
                    false);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower >= 'a' && lower <= 'f' ? lower - 'a' + 10 : -1;
}

}  // namespace

ControllerId RandomControllerId() {
    std::random_device source;
    ControllerId id{};
    for (auto& byte : id) {
        byte = static_cast<std::uint8_t>(source() & 0xFF);
    }
    return id;
}

std::optional<ControllerId> ParseControllerId(std::string_view text) {
    std::string digits;
    for (char c : text) {
        if (c != '-') {
            digits.push_back(c);
        }
    }
    if (digits.size() != 32) {
        return std::nullopt;
    }
    ControllerId id{};
    for (std::size_t i = 0; i < id.size(); ++i) {
        const int high = HexDigit(digits[2 * i]);
        const int low = HexDigit(digits[2 * i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        id[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return id;
}

std::string ControllerSerial(const ControllerId& id) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (std::size_t i = 0; i < id.size(); ++i) {
        if (i != 0 && i % 4 == 0) {
            text.push_back('-');
        }
        text.push_back(kHex[id[i] >> 4]);
        text.push_back(kHex[id[i] & 0x0F]);
    }
    return text;
}

std::string InterfaceText(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text) {
        bytes.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
    }
    return bytes;
}

std::string InterfaceText(std::string_view utf8) {
    return InterfaceText(FromUtf8(utf8));
}

ApplicationOptions CatalogueInterfaceOptions(const std::string& modelCode, const ControllerId& id,
                                             const CatalogueDb& db) {
    ApplicationOptions options = DefaultApplicationOptions(modelCode);
    options.mcuId = id;
    options.hasHidBootloader = HasHidBootloader(FromUtf8(modelCode), db);
    std::optional<Carried> carried = RegisteredSoftware(db, modelCode, id);
    if (!carried) {
        carried = FirstValidSoftware(db, modelCode);
    }
    if (carried) {
        options.softwareId = static_cast<std::uint16_t>(carried->swId);
        options.softwareBuild = static_cast<std::uint8_t>(carried->swBuild);
        options.config.setVehicle(InterfaceText(carried->make), InterfaceText(carried->model));
        if (carried->totalUpdates) {
            options.config.setTotalUpdates(static_cast<std::uint16_t>(*carried->totalUpdates));
        }
    }
    return options;
}
