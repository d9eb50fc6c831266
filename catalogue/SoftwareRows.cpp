#include "catalogue/SoftwareRows.h"

#include "catalogue/CatalogueValues.h"

void FillSoftwareRecord(const OdbcRow& row, SoftwareRecord& record, ImageDetails details) {
    record.id = DecimalAs<std::int32_t>(row.Text("id"));
    record.sw_id = DecimalAs<std::uint16_t>(row.Text("sw_id"));
    record.sw_build = DecimalAs<std::uint8_t>(row.Text("sw_build"));
    record.sw_filename = row.Text("sw_filename");
    record.sw_description = row.Text("sw_description");
    record.sw_label = row.Text("sw_label");
    record.sw_path = row.Text("sw_path");
    record.sw_valid_status = DecimalAs<std::uint8_t>(row.Text("sw_valid_status"));
    record.sw_update_type = DecimalAs<std::uint8_t>(row.Text("sw_update_type"));
    record.http_users_manual = row.Text("http_users_manual");
    record.vehicle_make = row.Text("vehicle_make");
    record.vehicle_model = row.Text("vehicle_model");
    record.vehicle_year_from = row.Text("vehicle_year_from");
    record.vehicle_year_to = row.Text("vehicle_year_to");
    record.vehicle_transmission = DecimalAs<std::uint16_t>(row.Text("vehicle_transmission"));
    if (details == ImageDetails::Read) {
        record.sw_length = DecimalAs<std::uint32_t>(row.Text("SW_LENGTH"));
        record.sw_md5 = row.Text("SW_MD5");
    }
}
