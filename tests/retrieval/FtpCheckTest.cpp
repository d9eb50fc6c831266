// The availability check against the real FTP server of the tests and against a file:// store.
#include <gtest/gtest.h>

#include "tests/support/FtpTestServer.h"
#include "SilentServer.h"
#include "retrieval/FtpTransfers.h"

namespace {

class FtpCheck : public ::testing::Test {
  protected:
    void SetUp() override {
        auto server = SharedFtpServer();
        if (!server) {
            GTEST_SKIP() << "TELVIX_TEST_FTP_HOST is not set (run through scripts/test-all)";
        }
        server_ = *server;
        directory_ = UniqueDirectoryName() + "c";
        WriteFile(server_.root / directory_ / "lvds" / "a1.bin", ImageBytes(1000));
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::remove_all(server_.root / directory_, ignored);
    }
    std::u16string Path(const std::string& rest) const {
        return std::u16string(directory_.begin(), directory_.end()) + u"/" +
               std::u16string(rest.begin(), rest.end());
    }

    FtpServerAccess server_;
    std::string directory_;
    TransferTimeouts timeouts_;
};

TEST_F(FtpCheck, FindsAnExistingFileByItsExactPath) {
    EXPECT_EQ(RunFtpCheck(server_.endpoint, timeouts_, Path("lvds/a1.bin")), FTP_OK);
}

TEST_F(FtpCheck, MissingFileAndMissingDirectoryAreBothNotFound) {
    EXPECT_EQ(RunFtpCheck(server_.endpoint, timeouts_, Path("lvds/a2.bin")), FTP_NOT_FOUND);
    EXPECT_EQ(RunFtpCheck(server_.endpoint, timeouts_, Path("hdmi/a1.bin")), FTP_NOT_FOUND);
    EXPECT_EQ(RunFtpCheck(server_.endpoint, timeouts_, Path("lvds/A1.BIN")), FTP_NOT_FOUND);
}

TEST_F(FtpCheck, ADirectoryIsNoImage) {
    EXPECT_EQ(RunFtpCheck(server_.endpoint, timeouts_, Path("lvds")), FTP_NOT_FOUND);
    EXPECT_EQ(RunFtpCheck(server_.endpoint, timeouts_, Path("lvds/")), FTP_NOT_FOUND);
}

TEST_F(FtpCheck, WrongPasswordIsNoConnection) {
    FtpEndpoint endpoint = server_.endpoint;
    endpoint.password = "wrong123";
    EXPECT_EQ(RunFtpCheck(endpoint, timeouts_, Path("lvds/a1.bin")), FTP_NO_CONNECTION);
}

TEST_F(FtpCheck, PathLongerThan63CharactersIsRefusedAsNotFound) {
    // The file exists, but its path does not fit the remote-path field.
    const std::string longName(63 - directory_.size(), 'x');
    WriteFile(server_.root / directory_ / longName, ImageBytes(10));
    const std::u16string fits = Path(longName.substr(1));
    WriteFile(server_.root / directory_ / longName.substr(1), ImageBytes(10));
    ASSERT_EQ(fits.size(), 63u);
    EXPECT_EQ(RunFtpCheck(server_.endpoint, timeouts_, fits), FTP_OK);
    EXPECT_EQ(RunFtpCheck(server_.endpoint, timeouts_, Path(longName)), FTP_NOT_FOUND);
}

TEST(FtpCheckConnection, ClosedPortIsNoConnection) {
    EXPECT_EQ(RunFtpCheck(ClosedPortEndpoint(), {}, u"fw/a1.bin"), FTP_NO_CONNECTION);
}

TEST(FtpCheckConnection, SilentServerEndsWithinTheConnectTimeout) {
    SilentServer silent;
    TransferTimeouts timeouts;
    timeouts.connect = std::chrono::milliseconds(300);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunFtpCheck(silent.Endpoint(), timeouts, u"fw/a1.bin"), FTP_NO_CONNECTION);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST(FtpCheckStore, FileStoreAnswersThroughTheSameCode) {
    ScratchDirectory store;
    WriteFile(store.Path() / "fw" / "lvds" / "a 1.bin", ImageBytes(10));
    FtpEndpoint endpoint;
    endpoint.scheme = "file";
    endpoint.basePath = store.Path().string();
    EXPECT_EQ(RunFtpCheck(endpoint, {}, u"fw/lvds/a 1.bin"), FTP_OK);
    EXPECT_EQ(RunFtpCheck(endpoint, {}, u"fw/lvds/a2.bin"), FTP_NOT_FOUND);
    EXPECT_EQ(RunFtpCheck(endpoint, {}, u"fw/hdmi/a 1.bin"), FTP_NOT_FOUND);
    EXPECT_EQ(RunFtpCheck(endpoint, {}, u"fw/lvds"), FTP_NOT_FOUND);
}

}  // namespace
