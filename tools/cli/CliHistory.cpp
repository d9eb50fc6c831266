#include "tools/cli/CliHistory.h"

#include <nlohmann/json.hpp>

#include <ostream>

#include "catalogue/InstallJournal.h"
#include "platform/Text.h"
#include "tools/cli/CliCommands.h"

namespace {
using Json = nlohmann::ordered_json;

// The interface as the record names it; the start's serial when the install never got that far.
std::u16string SerialOf(const JournalEntry& entry) {
    return entry.record ? entry.record->mcu_serial : entry.install.mcu_serial;
}

Json RecordJson(const InstallRecord& record) {
    return {{"swId", record.sw_id},
            {"swBuild", record.sw_build},
            {"vehicleMake", ToUtf8(record.vehicle_make)},
            {"vehicleModel", ToUtf8(record.vehicle_model)},
            {"updatedBy", record.updated_by},
            {"updateDate", ToUtf8(record.update_date)},
            {"totalUpdates", record.total_updates},
            {"mcuSerial", ToUtf8(record.mcu_serial)}};
}

Json EntryJson(const JournalEntry& e) {
    Json j{{"id", e.id},
           {"time", ToUtf8(e.started)},
           {"model", ToUtf8(e.install.mfg_id)},
           {"serial", ToUtf8(SerialOf(e))},
           {"swId", e.install.sw_id},
           {"swBuild", e.install.sw_build},
           {"vehicleMake", ToUtf8(e.install.vehicle_make)},
           {"vehicleModel", ToUtf8(e.install.vehicle_model)},
           {"route", ToUtf8(e.install.route)},
           {"finished", e.finished},
           {"succeeded", e.succeeded},
           {"outcome", e.finished ? Json(ToUtf8(e.outcome)) : Json(nullptr)},
           {"ended", e.finished ? Json(ToUtf8(e.ended)) : Json(nullptr)},
           {"record", RecordStateName(e.recordState)}};
    if (e.record)
        j["recordValues"] = RecordJson(*e.record);
    return j;
}

// A column of width characters (the texts are UTF-8), at least one blank after.
std::string Pad(const std::string& text, std::size_t width) {
    const std::size_t chars = FromUtf8(text).size();
    return text + std::string(chars < width ? width - chars : 1, ' ');
}

void PrintTable(const std::vector<JournalEntry>& entries, std::ostream& out) {
    out << Pad("TIME", 21) << Pad("MODEL", 9) << Pad("SERIAL", 37) << Pad("SOFTWARE", 10)
        << Pad("VEHICLE", 24) << Pad("RECORD", 12) << "OUTCOME\n";
    for (const JournalEntry& e : entries) {
        const std::string software =
            std::to_string(e.install.sw_id) + "/" + std::to_string(e.install.sw_build);
        const std::string vehicle = ToUtf8(e.install.vehicle_make) + " " + ToUtf8(e.install.vehicle_model);
        const std::u16string serial = SerialOf(e);
        out << Pad(ToUtf8(e.started), 21) << Pad(ToUtf8(e.install.mfg_id), 9)
            << Pad(serial.empty() ? "-" : ToUtf8(serial), 37) << Pad(software, 10) << Pad(vehicle, 24)
            << Pad(e.recordState == RecordState::None ? "-" : RecordStateName(e.recordState), 12)
            << (e.finished ? ToUtf8(e.outcome) : "(not finished)") << "\n";
    }
}

}  // namespace

int History(const std::filesystem::path& journalFile, bool json, std::ostream& out, std::ostream& err) {
    if (journalFile.empty()) {
        err << "error: the install journal cannot be listed: there is no user data folder (set HOME or "
               "TELVIX_UPDATER_DATA_DIR)\n";
        return EXIT_ERROR;
    }
    std::string why;
    const auto entries = InstallJournal::Read(journalFile, why);
    if (!entries) {
        err << "error: the install journal " << journalFile.string() << " cannot be listed: " << why << "\n";
        return EXIT_ERROR;
    }
    if (json) {
        Json list = Json::array();
        for (const JournalEntry& e : *entries)
            list.push_back(EntryJson(e));
        out << list.dump(2) << "\n";
    } else if (entries->empty()) {
        out << "No installs in the journal (" << journalFile.string() << ")\n";
    } else {
        PrintTable(*entries, out);
    }
    return EXIT_OK;
}
