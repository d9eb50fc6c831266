// The look-up of a file on a server that refuses SIZE (502), where asking for the file's size
// cannot tell whether it exists: the check and the download must still find exactly that file.
#include <gtest/gtest.h>

#include "tests/support/FtpTestServer.h"
#include "retrieval/FtpTransfers.h"

namespace {

namespace fs = std::filesystem;

class ServerWithoutSize : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!SharedFtpServer()) {
            GTEST_SKIP() << "TELVIX_TEST_FTP_HOST is not set (run through scripts/test-all)";
        }
        ASSERT_TRUE(server_.Running());
        WriteFile(server_.Access().root / "fw" / "lvds" / "a1.bin", image_);
        WriteFile(server_.Access().root / "fw" / "lvds" / "a 2.bin", image_);
        fs::create_directories(server_.Access().root / "fw" / "lvds" / "sub.bin");
    }
    FtpResult Check(const std::u16string& path) const {
        return RunFtpCheck(server_.Access().endpoint, {}, path);
    }

    PrivateFtpServer server_{0, SizeCommand::Refused};
    ScratchDirectory volume_;
    const std::vector<std::uint8_t> image_ = ImageBytes(30000, 41);
};

TEST_F(ServerWithoutSize, CheckFindsOnlyTheExactFile) {
    const struct {
        std::u16string path;
        FtpResult expected;
    } cases[] = {
        {u"fw/lvds/a1.bin", FTP_OK},         {u"fw/lvds/a 2.bin", FTP_OK},
        {u"fw/lvds/a2.bin", FTP_NOT_FOUND},  {u"fw/lvds/A1.BIN", FTP_NOT_FOUND},
        {u"fw/lvds/a1.bi", FTP_NOT_FOUND},   {u"fw/lvds/a1.bin.old", FTP_NOT_FOUND},
        {u"fw/lvds/sub.bin", FTP_NOT_FOUND},  // a directory
        {u"fw/hdmi/a1.bin", FTP_NOT_FOUND},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Check(c.path), c.expected) << std::string(c.path.begin(), c.path.end());
    }
}

TEST_F(ServerWithoutSize, DownloadOfAMissingFileKeepsTheOldFirmware) {
    WriteFile(volume_.Path() / "firmware.bin", ImageBytes(100, 42));
    EXPECT_EQ(RunFtpGet(server_.Access().endpoint, {}, u"fw/lvds/a2.bin", volume_.Root()), FTP_NOT_FOUND);
    EXPECT_EQ(ReadFile(volume_.Path() / "firmware.bin"), ImageBytes(100, 42));
    EXPECT_EQ(RunFtpGet(server_.Access().endpoint, {}, u"fw/lvds/a1.bin", volume_.Root()), FTP_OK);
    EXPECT_EQ(ReadFile(volume_.Path() / "firmware.bin"), image_);
}

}  // namespace
