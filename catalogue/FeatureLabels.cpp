#include "catalogue/FeatureLabels.h"

#include "catalogue/CatalogueValues.h"

void FeatureLabelTable::Merge(const std::vector<FeatureLabelRow>& rows) {
    for (const auto& row : rows) {
        labels_[row.index] = row.text;
    }
}

const std::u16string* FeatureLabelTable::Find(int index) const {
    const auto it = labels_.find(index);
    return it == labels_.end() ? nullptr : &it->second;
}

bool RefreshFeatureLabels(FeatureLabelSource& source, const std::u16string& mcuSerial,
                          FeatureLabelTable& table) {
    std::vector<FeatureLabelRow> rows;
    const bool ok = source.QueryFeatureLabels(mcuSerial, [&rows](int index, const std::u16string& text) {
        rows.push_back(FeatureLabelRow{index, text});
    });
    if (ok) {
        table.Merge(rows);
    }
    return ok;
}

SqlStatement FeatureLabelStatement(const std::u16string& mcuSerial) {
    return SqlStatement{
        u"SELECT label_idx,label_desc FROM feature_label INNER JOIN tolvanedevice ON "
        u"feature_label.mfg_id = tolvanedevice.mfg_id AND feature_label.sw_id = tolvanedevice.sw_id AND  "
        u"mcu_serial=? ORDER BY label_idx",
        {mcuSerial}};
}

bool CatalogueFeatureLabels::QueryFeatureLabels(
    const std::u16string& mcuSerial, const std::function<void(int, const std::u16string&)>& onRow) {
    DbError error;
    auto connection = db_.Open(OpenMode::ReadOnly, error);
    if (!connection) {
        return false;
    }
    std::int32_t rowCount = 0;
    return connection->Query(
        FeatureLabelStatement(mcuSerial),
        [&onRow](const OdbcRow& row) {
            onRow(DecimalAs<std::int32_t>(row.Text("label_idx")), row.Text("label_desc"));
        },
        rowCount, error);
}
