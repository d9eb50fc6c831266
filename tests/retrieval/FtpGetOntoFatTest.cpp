// The download onto a real FAT12 volume of the interface's size (1440 KiB), mounted through FUSE,
// from the real FTP server.
#include <gtest/gtest.h>

#include "tests/support/FatImageMount.h"
#include "tests/support/FtpTestServer.h"
#include "retrieval/FtpTransfers.h"

namespace {

namespace fs = std::filesystem;

class FtpGetOntoFat : public ::testing::Test {
  protected:
    void SetUp() override {
        auto server = SharedFtpServer();
        if (!server) {
            GTEST_SKIP() << "TELVIX_TEST_FTP_HOST is not set (run through scripts/test-all)";
        }
        ASSERT_TRUE(fat_.Failure().empty()) << fat_.Failure();
        if (!fat_.Unusable().empty()) {
            GTEST_SKIP() << fat_.Unusable();
        }
        server_ = *server;
        directory_ = UniqueDirectoryName() + "v";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(server_.root / directory_, ignored);
    }
    FtpResult Get(const std::string& name, const std::vector<std::uint8_t>& served) {
        WriteFile(server_.root / directory_ / name, served);
        const std::string path = directory_ + "/" + name;
        return RunFtpGet(server_.endpoint, {}, std::u16string(path.begin(), path.end()), fat_.Root());
    }
    // Unmounts, then checks the image itself: the file system is sound and holds exactly names.
    void ExpectVolumeHolds(const std::vector<std::string>& names) {
        ASSERT_TRUE(fat_.Unmount());
        EXPECT_EQ(fat_.RootNames(), names);
        std::string report;
        EXPECT_EQ(fat_.Check(&report), 0) << report;
    }

    FatImageMount fat_;
    FtpServerAccess server_;
    std::string directory_;
};

TEST_F(FtpGetOntoFat, OneMegabyteImageReplacesAnotherOnTheFullSizeVolume) {
    // Old and new image together do not fit in 1440 KiB.
    const auto image = ImageBytes(1000000, 32);
    WriteFile(fat_.MountPoint() / "firmware.bin", ImageBytes(1000000, 31));
    ASSERT_EQ(fs::file_size(fat_.MountPoint() / "firmware.bin"), 1000000u);
    EXPECT_EQ(Get("a1.bin", image), FTP_OK);
    ExpectVolumeHolds({"firmware.bin"});
    EXPECT_EQ(fat_.ReadBack("firmware.bin"), image);
}

TEST_F(FtpGetOntoFat, ImageLargerThanTheVolumeFailsAndLeavesNoPartOfIt) {
    WriteFile(fat_.MountPoint() / "firmware.bin", ImageBytes(1000, 33));
    EXPECT_EQ(Get("big.bin", ImageBytes(1600 * 1024, 34)), FTP_TRANSFER_FAILED);
    ExpectVolumeHolds({});
}

}  // namespace
