// The download onto the update volume against the real FTP server and a file:// store.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <chrono>
#include <csignal>
#include <future>
#include <thread>

#include "SilentServer.h"
#include "retrieval/FtpTransfers.h"
#include "retrieval/ImageDigest.h"
#include "tests/support/FtpTestServer.h"

namespace {

namespace fs = std::filesystem;

std::u16string Wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

class FtpGet : public ::testing::Test {
  protected:
    void SetUp() override {
        auto server = SharedFtpServer();
        if (!server) {
            GTEST_SKIP() << "TELVIX_TEST_FTP_HOST is not set (run through scripts/test-all)";
        }
        server_ = *server;
        directory_ = UniqueDirectoryName() + "g";
        WriteFile(server_.root / directory_ / "lvds" / "a1.bin", image_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(server_.root / directory_, ignored);
    }
    std::u16string Path(const std::string& rest) const { return Wide(directory_ + "/" + rest); }
    fs::path Firmware() const { return volume_.Path() / "firmware.bin"; }
    FtpResult Get(const std::string& rest, const FtpEndpoint& endpoint) const {
        return RunFtpGet(endpoint, timeouts_, Path(rest), volume_.Root());
    }
    FtpResult Get(const std::string& rest) const { return Get(rest, server_.endpoint); }

    FtpServerAccess server_;
    std::string directory_;
    ScratchDirectory volume_;
    TransferTimeouts timeouts_;
    const std::vector<std::uint8_t> image_ = ImageBytes(70000, 7);
};

TEST_F(FtpGet, DownloadsTheExactBytesAsFirmwareBin) {
    EXPECT_EQ(Get("lvds/a1.bin"), FTP_OK);
    EXPECT_EQ(ReadFile(Firmware()), image_);
    EXPECT_FALSE(fs::exists(volume_.Path() / "firmware.tmp"));
}

TEST_F(FtpGet, ReplacesAnExistingFirmwareBin) {
    WriteFile(Firmware(), ImageBytes(200000, 9));
    EXPECT_EQ(Get("lvds/a1.bin"), FTP_OK);
    EXPECT_EQ(ReadFile(Firmware()), image_);
}

TEST_F(FtpGet, KeepsBinaryBytesUnchanged) {
    // Line ends and zero bytes would be altered by an ASCII-mode transfer.
    const std::vector<std::uint8_t> crlf = {'\r', '\n', 0, '\n', '\r', 0xFF, '\n', '\n', '\r'};
    WriteFile(server_.root / directory_ / "crlf.bin", crlf);
    EXPECT_EQ(Get("crlf.bin"), FTP_OK);
    EXPECT_EQ(ReadFile(Firmware()), crlf);
}

TEST_F(FtpGet, MissingFileIsNotFoundAndLeavesTheVolumeAlone) {
    WriteFile(Firmware(), ImageBytes(10, 3));
    EXPECT_EQ(Get("lvds/a2.bin"), FTP_NOT_FOUND);
    EXPECT_EQ(Get("hdmi/a1.bin"), FTP_NOT_FOUND);
    EXPECT_EQ(ReadFile(Firmware()), ImageBytes(10, 3));
    EXPECT_FALSE(fs::exists(volume_.Path() / "firmware.tmp"));
}

TEST_F(FtpGet, WrongPasswordIsNoConnection) {
    FtpEndpoint endpoint = server_.endpoint;
    endpoint.password = "wrong123";
    EXPECT_EQ(Get("lvds/a1.bin", endpoint), FTP_NO_CONNECTION);
    EXPECT_FALSE(fs::exists(Firmware()));
}

TEST_F(FtpGet, VolumeThatCannotBeWrittenIsATransferFailure) {
    // Running as root defeats file modes, so the volume is a directory that is not there.
    EXPECT_EQ(RunFtpGet(server_.endpoint, timeouts_, Path("lvds/a1.bin"), volume_.Root() + "removed/"),
              FTP_TRANSFER_FAILED);
    EXPECT_EQ(RunFtpGet(server_.endpoint, timeouts_, Path("lvds/a1.bin"), ""), FTP_TRANSFER_FAILED);
}

TEST_F(FtpGet, VolumeFillingUpMidwayLeavesNoPartOfTheImage) {
    WriteFile(Firmware(), ImageBytes(10, 3));
    // A file-size limit makes the volume "full" after 16 KiB of the 70,000 bytes.
    struct sigaction ignore {};
    struct sigaction previous {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGXFSZ, &ignore, &previous);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 16384;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const FtpResult result = Get("lvds/a1.bin");
    ::setrlimit(RLIMIT_FSIZE, &old);
    ::sigaction(SIGXFSZ, &previous, nullptr);
    EXPECT_EQ(result, FTP_TRANSFER_FAILED);
    EXPECT_TRUE(fs::is_empty(volume_.Path()));
}

TEST_F(FtpGet, OnlyAnImageMatchingTheCataloguesLengthAndDigestReachesTheVolume) {
    const std::vector<std::uint8_t> old = ImageBytes(1000, 3);
    WriteFile(Firmware(), old);
    const std::u16string digest = Wide(ImageDigest(image_));
    struct Case {
        ExpectedImage expected;
        FtpResult result;
    };
    const Case cases[] = {
        {{static_cast<std::uint32_t>(image_.size()), u"0123456789abcdef0123456789abcdef"},
         FTP_TRANSFER_FAILED},
        {{static_cast<std::uint32_t>(image_.size() + 1), digest}, FTP_TRANSFER_FAILED},  // short file
        {{static_cast<std::uint32_t>(image_.size()), digest}, FTP_OK},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(RunFtpGet(server_.endpoint, timeouts_, Path("lvds/a1.bin"), volume_.Root(), c.expected),
                  c.result);
        EXPECT_EQ(ReadFile(Firmware()), c.result == FTP_OK ? image_ : old);
        EXPECT_FALSE(fs::exists(volume_.Path() / "firmware.tmp"));
    }
    // A longer file: its image part only, as the in-memory fetch takes it.
    const std::vector<std::uint8_t> head(image_.begin(), image_.begin() + 5000);
    EXPECT_EQ(RunFtpGet(server_.endpoint, timeouts_, Path("lvds/a1.bin"), volume_.Root(),
                        {5000, Wide(ImageDigest(head))}),
              FTP_OK);
    EXPECT_EQ(ReadFile(Firmware()), head);
}

TEST_F(FtpGet, EmptyFileNeverBecomesFirmwareBin) {
    WriteFile(server_.root / directory_ / "empty.bin", {});
    WriteFile(Firmware(), ImageBytes(10, 3));
    EXPECT_EQ(Get("empty.bin"), FTP_TRANSFER_FAILED);
    EXPECT_TRUE(fs::is_empty(volume_.Path()));
}

TEST(FtpGetConnection, ClosedPortIsNoConnection) {
    ScratchDirectory volume;
    EXPECT_EQ(RunFtpGet(ClosedPortEndpoint(), {}, u"fw/a1.bin", volume.Root()), FTP_NO_CONNECTION);
    EXPECT_TRUE(fs::is_empty(volume.Path()));
}

TEST(FtpGetConnection, SilentServerEndsWithinTheConnectTimeout) {
    SilentServer silent;
    ScratchDirectory volume;
    TransferTimeouts timeouts;
    timeouts.connect = std::chrono::milliseconds(300);
    EXPECT_EQ(RunFtpGet(silent.Endpoint(), timeouts, u"fw/a1.bin", volume.Root()), FTP_NO_CONNECTION);
    EXPECT_TRUE(fs::is_empty(volume.Path()));
}

TEST(FtpGetStore, FileStoreDownloadsThroughTheSameCode) {
    ScratchDirectory store;
    ScratchDirectory volume;
    const auto image = ImageBytes(5000, 4);
    WriteFile(store.Path() / "fw" / "lvds" / "a1.bin", image);
    FtpEndpoint endpoint;
    endpoint.scheme = "file";
    endpoint.basePath = store.Path().string();
    EXPECT_EQ(RunFtpGet(endpoint, {}, u"fw/lvds/a1.bin", volume.Root()), FTP_OK);
    EXPECT_EQ(ReadFile(volume.Path() / "firmware.bin"), image);
    EXPECT_EQ(RunFtpGet(endpoint, {}, u"fw/lvds/a2.bin", volume.Root()), FTP_NOT_FOUND);
}

// A server that delivers slowly, so the test can act while the download is under way.
class FtpGetInterrupted : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!SharedFtpServer()) {
            GTEST_SKIP() << "TELVIX_TEST_FTP_HOST is not set (run through scripts/test-all)";
        }
        ASSERT_TRUE(server_.Running());
        WriteFile(server_.Access().root / "fw" / "big.bin", image_);
        WriteFile(volume_.Path() / "firmware.bin", old_);
    }
    // Starts the download and waits until part of it is on the volume.
    std::future<FtpResult> StartAndWaitForFirstBytes() {
        auto result = std::async(std::launch::async, [this] {
            return RunFtpGet(server_.Access().endpoint, timeouts_, u"fw/big.bin", volume_.Root());
        });
        const fs::path temporary = volume_.Path() / "firmware.tmp";
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        std::error_code error;
        while (std::chrono::steady_clock::now() < deadline &&
               !(fs::exists(temporary, error) && fs::file_size(temporary, error) > 0)) {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return result;
    }

    PrivateFtpServer server_{32768};  // 32 KiB per second: the 512 KiB image takes 16 s
    ScratchDirectory volume_;
    TransferTimeouts timeouts_;
    const std::vector<std::uint8_t> image_ = ImageBytes(512 * 1024, 5);
    const std::vector<std::uint8_t> old_ = ImageBytes(300, 6);
};

TEST_F(FtpGetInterrupted, ServerKilledMidwayLeavesNoPartOfTheImage) {
    auto result = StartAndWaitForFirstBytes();
    ASSERT_TRUE(fs::exists(volume_.Path() / "firmware.tmp"));
    EXPECT_FALSE(fs::exists(volume_.Path() / "firmware.bin"));  // made room once the file was found
    server_.Kill();
    EXPECT_EQ(result.get(), FTP_TRANSFER_FAILED);
    EXPECT_TRUE(fs::is_empty(volume_.Path()));
}

TEST_F(FtpGetInterrupted, StalledServerEndsAfterTheStallTimeout) {
    timeouts_.stall = std::chrono::seconds(1);
    auto result = StartAndWaitForFirstBytes();
    ASSERT_TRUE(fs::exists(volume_.Path() / "firmware.tmp"));
    server_.Pause();
    ASSERT_EQ(result.wait_for(std::chrono::seconds(20)), std::future_status::ready);
    EXPECT_EQ(result.get(), FTP_TRANSFER_FAILED);
    EXPECT_TRUE(fs::is_empty(volume_.Path()));
}

}  // namespace
