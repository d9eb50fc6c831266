#pragma once
// The catalogue entry the updater is working with: filled from a tolvanesw row by the selected-row
// lookup and the upgrade lookup, read by the transfer, the image check and the install record.
// Each fill overwrites the fields it names and leaves the others as they were.
#include <cstdint>
#include <string>

struct SoftwareRecord {
    std::int32_t id = 0;
    std::uint16_t sw_id = 0;
    std::uint8_t sw_build = 0;
    std::u16string sw_filename;     // image file name on the FTP server
    std::u16string sw_description;  // the software's features, shown in the device area
    std::u16string sw_label;
    std::u16string sw_path;  // image directory on the FTP server
    std::uint8_t sw_valid_status = 0;
    std::uint8_t sw_update_type = 0;
    std::u16string http_users_manual;
    std::u16string vehicle_make;
    std::u16string vehicle_model;
    std::u16string vehicle_year_from;
    std::u16string vehicle_year_to;
    std::uint16_t vehicle_transmission = 0;
    std::uint32_t sw_length = 0;  // image length in bytes (SW_LENGTH)
    std::u16string sw_md5;        // expected MD5 digest as text (SW_MD5)
};
