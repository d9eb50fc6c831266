// The fixture catalogue: every model present, images that match their catalogue rows and carry the
// emulator's identity header, device rows keyed like the emulated interfaces.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>

#include "CatalogueBackends.h"
#include "FixtureWriters.h"
#include "sim/FirmwareImage.h"
#include "sim/TelvixFirmware.h"

TEST(FixtureCatalogue, CoversEveryModelWithEveryKindOfEntry) {
    const FixtureCatalogue& catalogue = Fixture();
    ASSERT_EQ(catalogue.hardware.size(), 12u);
    int hid = 0;
    for (const FixtureHardware& hw : catalogue.hardware) {
        hid += hw.hw_hid == 1;
        std::set<std::string> makes;
        bool manual = false, withdrawn = false, recovery = false;
        for (const FixtureEntry& e : catalogue.entries) {
            if (e.mfg_id != hw.mfg_id) {
                continue;
            }
            makes.insert(e.vehicle_make);
            manual |= e.vehicle_transmission == 1;
            withdrawn |= e.sw_valid_status == 0;
            recovery |= e.sw_id == 9999;
        }
        EXPECT_GE(makes.size(), 4u) << hw.mfg_id;
        EXPECT_TRUE(manual && withdrawn && recovery) << hw.mfg_id;
    }
    EXPECT_EQ(hid, 6);
    EXPECT_EQ(catalogue.versions, std::vector<std::string>{"4.0.0"});
    EXPECT_EQ(catalogue.devices.size(), 12u);
}

TEST(FixtureCatalogue, ImagesCarryTheirIdentityLengthAndDigest) {
    std::set<std::string> files;
    for (const FixtureEntry& e : Fixture().entries) {
        const std::vector<std::uint8_t> image = FixtureImage(e);
        ASSERT_EQ(image.size(), e.sw_length) << e.sw_filename;
        EXPECT_EQ(Md5Hex(image), e.sw_md5);
        EXPECT_EQ(e.sw_md5.find_first_not_of("0123456789abcdef"), std::string::npos);
        const auto header = ParseImageHeader(image);
        ASSERT_TRUE(header.has_value());
        EXPECT_EQ(header->softwareId, e.sw_id);
        EXPECT_EQ(header->softwareBuild, static_cast<std::uint8_t>(e.sw_build.value_or(0)));
        EXPECT_EQ(header->modelCode, e.mfg_id);
        EXPECT_LE((e.sw_path + "/" + e.sw_filename).size(), 63u);
        EXPECT_TRUE(files.insert(e.sw_path + "/" + e.sw_filename).second) << "one file per entry";
    }
}

TEST(FixtureCatalogue, DeviceRowsAreTheEmulatedInterfaces) {
    for (const FixtureDevice& device : Fixture().devices) {
        const ApplicationOptions options = DefaultApplicationOptions(device.mfg_id);
        const std::vector<std::uint8_t> emulated(options.mcuId.begin(), options.mcuId.end());
        EXPECT_EQ(device.mcu_serial, McuSerialText(emulated)) << device.mfg_id;
        EXPECT_EQ(device.mcu_serial.size(), 35u);
    }
    EXPECT_EQ(McuSerialText({0x00, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88, 0x99, 0xAA, 0xBB, 0xCC,
                             0xDD, 0xEE, 0xFF}),
              "00112233-44556677-8899AABB-CCDDEEFF");
}

TEST(FixtureCatalogue, ImageStoreHoldsEveryImage) {
    const auto root =
        std::filesystem::temp_directory_path() / ("telvix-images-" + std::to_string(::getpid()));
    ASSERT_EQ(WriteImageStore(Fixture(), root.string()), "");
    for (const FixtureEntry& e : Fixture().entries) {
        const auto path = root / e.sw_path / e.sw_filename;
        ASSERT_EQ(std::filesystem::file_size(path), e.sw_length);
    }
    const FixtureEntry& first = Fixture().entries.front();
    std::ifstream in(root / first.sw_path / first.sw_filename, std::ios::binary);
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(bytes, FixtureImage(first));
    in.close();  // an open file cannot be removed on Windows
    std::filesystem::remove_all(root);
}
