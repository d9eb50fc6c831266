#include "tests/support/HarnessServers.h"

#include <unistd.h>
#include <cstdlib>
#include <fstream>
#include <regex>

#include "catalogue/CatalogueDb.h"
#include "catalogue/CatalogueValues.h"
#include "platform/Text.h"
#include "sim/FirmwareImage.h"

namespace {
std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

std::u16string U(const std::string& text) {
    return FromUtf8(text);
}

int Number(const OdbcRow& row, const char* column) {
    return static_cast<int>(DecimalValue(row.Text(column)));
}

std::string Utf8(const OdbcRow& row, const char* column) {
    return ToUtf8(row.Text(column));
}

// Runs one statement on a fresh writable connection; onRow may be empty for a change.
bool Run(const std::string& connection, const SqlStatement& statement,
         const std::function<void(const OdbcRow&)>& onRow = {}) {
    CatalogueDb db(connection, 15);
    DbError error;
    auto session = db.Open(OpenMode::Writable, error);
    if (!session)
        return false;
    if (!onRow)
        return session->Change(statement, error);
    std::int32_t rows = 0;
    return session->Query(statement, onRow, rows, error);
}
}  // namespace

std::optional<HarnessServers> HarnessServers::FromEnvironment() {
    HarnessServers servers;
    servers.catalogueConnection = Env("TELVIX_TEST_MARIADB_CONNECTION");
    const std::string dbPort = Env("TELVIX_TEST_MARIADB_PORT");
    const std::string ftpPort = Env("TELVIX_TEST_FTP_PORT");
    if (servers.catalogueConnection.empty() || dbPort.empty() || ftpPort.empty())
        return std::nullopt;
    servers.mariadbPort = static_cast<std::uint16_t>(std::stoi(dbPort));
    servers.ftp.scheme = "ftp";
    servers.ftp.host = Env("TELVIX_TEST_FTP_HOST");
    servers.ftp.port = static_cast<std::uint16_t>(std::stoi(ftpPort));
    servers.ftp.user = Env("TELVIX_TEST_FTP_USER");
    servers.ftp.password = Env("TELVIX_TEST_FTP_PASSWORD");
    servers.ftpRoot = Env("TELVIX_TEST_FTP_ROOT");
    return servers;
}

std::string HarnessServers::CatalogueConnectionVia(std::uint16_t port) const {
    return std::regex_replace(catalogueConnection, std::regex("Port=[0-9]+"), "Port=" + std::to_string(port));
}

std::optional<HarnessEntry> HarnessServers::FindEntry(const std::string& mfgId, int swId, int swBuild) const {
    std::optional<HarnessEntry> found;
    const SqlStatement query{u"SELECT * FROM tolvanesw WHERE mfg_id=? AND sw_id=? AND sw_build=?",
                             {U(mfgId), U(std::to_string(swId)), U(std::to_string(swBuild))}};
    Run(catalogueConnection, query, [&](const OdbcRow& row) {
        HarnessEntry entry;
        entry.id = Number(row, "id");
        entry.mfgId = Utf8(row, "mfg_id");
        entry.swId = Number(row, "sw_id");
        entry.swBuild = Number(row, "sw_build");
        entry.validStatus = Number(row, "sw_valid_status");
        entry.description = Utf8(row, "sw_description");
        entry.path = Utf8(row, "sw_path");
        entry.filename = Utf8(row, "sw_filename");
        entry.make = Utf8(row, "vehicle_make");
        entry.model = Utf8(row, "vehicle_model");
        entry.yearFrom = Utf8(row, "vehicle_year_from");
        entry.yearTo = Utf8(row, "vehicle_year_to");
        entry.length = static_cast<std::uint32_t>(DecimalValue(row.Text("SW_LENGTH")));
        entry.md5 = Utf8(row, "SW_MD5");
        found = entry;
    });
    return found;
}

std::vector<std::uint8_t> HarnessServers::ImageOf(const HarnessEntry& entry) {
    return MakeFirmwareImage(entry.mfgId, static_cast<std::uint16_t>(entry.swId),
                             static_cast<std::uint8_t>(entry.swBuild), entry.length);
}

void HarnessServers::PublishImage(const HarnessEntry& entry, bool corrupt) const {
    std::vector<std::uint8_t> image = ImageOf(entry);
    if (corrupt && image.size() > kImageHeaderSize)
        image[kImageHeaderSize] ^= 0x5A;
    const std::filesystem::path target = ftpRoot / entry.path / entry.filename;
    std::filesystem::create_directories(target.parent_path());
    // Written aside and renamed, so a transfer of another test never sees half a file.
    const std::filesystem::path temporary =
        target.string() + ".tmp" + std::to_string(getpid()) + "-" + std::to_string(entry.id);
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(image.data()), static_cast<std::streamsize>(image.size()));
    }
    std::filesystem::rename(temporary, target);
}

void HarnessServers::RemoveImage(const HarnessEntry& entry) const {
    std::error_code ignored;
    std::filesystem::remove(ftpRoot / entry.path / entry.filename, ignored);
}

bool HarnessServers::InsertDevice(const HarnessDevice& d) const {
    DeleteDevice(d.mcuSerial);
    return Run(
        catalogueConnection,
        {u"INSERT INTO tolvanedevice (mfg_id, mcu_serial, sw_id, sw_build, vehicle_make, vehicle_model, "
         u"label_serial, total_updates, updated_by, update_date) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
         {U(d.mfgId), U(d.mcuSerial), U(std::to_string(d.swId)), U(std::to_string(d.swBuild)), U(d.make),
          U(d.model), U(d.labelSerial), U(std::to_string(d.totalUpdates)), U(std::to_string(d.updatedBy)),
          U(d.updateDate)}});
}

void HarnessServers::DeleteDevice(const std::string& mcuSerial) const {
    Run(catalogueConnection, {u"DELETE FROM tolvanedevice WHERE mcu_serial=?", {U(mcuSerial)}});
}

std::optional<HarnessDevice> HarnessServers::ReadDevice(const std::string& mcuSerial) const {
    std::optional<HarnessDevice> found;
    Run(catalogueConnection, {u"SELECT * FROM tolvanedevice WHERE mcu_serial=?", {U(mcuSerial)}},
        [&](const OdbcRow& row) {
            HarnessDevice d;
            d.mfgId = Utf8(row, "mfg_id");
            d.mcuSerial = Utf8(row, "mcu_serial");
            d.swId = Number(row, "sw_id");
            d.swBuild = Number(row, "sw_build");
            d.make = Utf8(row, "vehicle_make");
            d.model = Utf8(row, "vehicle_model");
            d.labelSerial = Utf8(row, "label_serial");
            d.totalUpdates = Number(row, "total_updates");
            d.updatedBy = Number(row, "updated_by");
            d.updateDate = Utf8(row, "update_date");
            found = d;
        });
    return found;
}
