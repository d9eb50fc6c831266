#include "catalogue/CatalogueLookups.h"

#include "catalogue/CatalogueValues.h"
#include "catalogue/SoftwareRows.h"
#include "platform/Text.h"

namespace {

std::u16string Number(std::int64_t value) {
    return FromUtf8(std::to_string(value));
}

// The build clause of the selected row's entry. An entry without a build (NULL, or blank in a text
// column) is found as such: "sw_build=0" misses a NULL, and a blank compares equal to 0 on MariaDB,
// which would also find the entry with build 0. So build 0 also asks for a non-blank value.
std::u16string BuildClause(const SearchRow& kept) {
    constexpr char16_t kBlank[] = u"TRIM(CAST(sw_build AS CHAR))=''";
    if (kept.sw_build_empty) {
        return u"(sw_build IS NULL OR " + std::u16string(kBlank) + u")";
    }
    std::u16string clause = u"sw_build=" + Number(kept.sw_build);
    if (kept.sw_build == 0) {
        clause += u" AND NOT " + std::u16string(kBlank);
    }
    return clause;
}

}  // namespace

bool LoadSelectedSoftware(UpdaterContext& ctx, const SearchPanel& panel, const CatalogueDb& db) {
    const int row = ctx.selectedRow;
    if (row < 0 || row >= panel.ResultCount() || static_cast<std::size_t>(row) >= kMaxSearchRows) {
        return false;
    }
    // The row's full texts: a make longer than the search's 15 characters still names its entry.
    const std::u16string make = panel.ResultText(row, ResultColumn::Make);
    const std::u16string model = panel.ResultText(row, ResultColumn::Model);
    const SearchRow& kept = ctx.SearchRows[static_cast<std::size_t>(row)];
    const SqlStatement statement{
        u"SELECT * FROM tolvanesw where vehicle_make=? AND vehicle_model=? AND sw_id=" + Number(kept.sw_id) +
            u" AND " + BuildClause(kept) + u" AND mfg_id=?",
        {make, model, ctx.mfg_id}};
    DbError error;
    auto connection = db.Open(OpenMode::ReadOnly, error);
    if (!connection) {
        return false;
    }
    SoftwareRecord loaded = ctx.softwareRecord;
    std::int32_t rows = 0;
    const bool ok = connection->Query(
        statement, [&](const OdbcRow& r) { FillSoftwareRecord(r, loaded, ImageDetails::Read); }, rows, error);
    if (!ok || rows == 0) {
        return false;
    }
    ctx.softwareRecord = std::move(loaded);
    return true;
}

bool LoadImageDetails(UpdaterContext& ctx, const CatalogueDb& db) {
    DbError error;
    auto connection = db.Open(OpenMode::ReadOnly, error);
    if (!connection) {
        return false;
    }
    std::uint32_t length = 0;
    std::u16string md5;
    std::int32_t rows = 0;
    const bool ok = connection->Query(
        SqlStatement{u"SELECT SW_LENGTH, SW_MD5 FROM tolvanesw WHERE id=" + Number(ctx.softwareRecord.id),
                     {}},
        [&](const OdbcRow& r) {
            length = DecimalAs<std::uint32_t>(r.Text("SW_LENGTH"));
            md5 = r.Text("SW_MD5");
        },
        rows, error);
    if (!ok || rows == 0) {
        return false;
    }
    ctx.softwareRecord.sw_length = length;
    ctx.softwareRecord.sw_md5 = md5;
    return true;
}

HidBootloaderLookup LookUpHidBootloader(const std::u16string& mfgId, const CatalogueDb& db) {
    DbError error;
    auto connection = db.Open(OpenMode::ReadOnly, error);
    if (!connection) {
        return {HidBootloader::LookupFailed, error.message};
    }
    std::int32_t hwHid = 0;
    std::int32_t rows = 0;
    const bool ok = connection->Query(
        SqlStatement{u"SELECT * FROM tolvanehw where mfg_id=?", {mfgId}},
        [&](const OdbcRow& r) { hwHid = DecimalAs<std::int32_t>(r.Text("hw_hid")); }, rows, error);
    if (!ok) {
        return {HidBootloader::LookupFailed, error.message};
    }
    return {hwHid == 1 ? HidBootloader::Present : HidBootloader::Absent, {}};
}

bool HasHidBootloader(const std::u16string& mfgId, const CatalogueDb& db) {
    return LookUpHidBootloader(mfgId, db).answer == HidBootloader::Present;
}
