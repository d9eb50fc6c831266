// The transfers through WinINet against the private FTP server: the look-up, the download onto
// the update volume and the in-memory fetch, with the failures a service PC meets.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <future>
#include <iterator>

#include <SocketApi.h>

#include "app/UpdaterContext.h"
#include "platform/ScratchDirectory.h"
#include "platform/Text.h"
#include "platform/Utf8Path.h"
#include "retrieval/FetchImage.h"
#include "retrieval/FtpTransfers.h"
#include "retrieval/ImageDigest.h"
#include "tests/support/HarnessServers.h"

namespace {
using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::vector<std::uint8_t> Contents(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class WinInetTransfers : public ::testing::Test {
  protected:
    void SetUp() override {
        servers_ = HarnessServers::FromEnvironment();
        if (!servers_)
            GTEST_SKIP() << "the private servers' variables are not set";
        const auto entry = servers_->FindEntry("QD7720R", 1000, 1);
        ASSERT_TRUE(entry);
        entry_ = *entry;
        remotePath_ = FromUtf8(entry_.path + "/" + entry_.filename);
    }
    FtpEndpoint Endpoint() const { return servers_->ftp; }

    std::optional<HarnessServers> servers_;
    HarnessEntry entry_;
    std::u16string remotePath_;
    TransferTimeouts timeouts_{2000ms, 5s};
};

TEST_F(WinInetTransfers, LookUpTellsFoundMissingAndUnreachableApart) {
    FtpEndpoint wrongPassword = Endpoint();
    wrongPassword.password += "x";
    FtpEndpoint serverDown = Endpoint();
    serverDown.port = 1;  // nothing listens there
    const struct {
        FtpEndpoint endpoint;
        std::u16string path;
        FtpResult expected;
    } cases[] = {
        {Endpoint(), remotePath_, FTP_OK},
        {Endpoint(), FromUtf8(entry_.path) + u"/missing.bin", FTP_NOT_FOUND},
        {Endpoint(), u"no-such-directory/" + FromUtf8(entry_.filename), FTP_NOT_FOUND},
        {wrongPassword, remotePath_, FTP_NO_CONNECTION},
        {serverDown, remotePath_, FTP_NO_CONNECTION},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RunFtpCheck(c.endpoint, timeouts_, c.path), c.expected)
            << ToUtf8(c.path) << " port " << c.endpoint.port;
}

TEST_F(WinInetTransfers, DownloadReplacesFirmwareBinWholeOrNotAtAll) {
    const fs::path scratch = MakeScratchDirectory("telvix-wininet-");
    ASSERT_FALSE(scratch.empty());
    const fs::path volume = scratch / u8"Citro\u00ebn volume";
    fs::create_directories(volume);
    const std::string root = PathToUtf8(volume) + "\\";
    std::ofstream(volume / "firmware.bin", std::ios::binary) << "old";

    EXPECT_EQ(RunFtpGet(Endpoint(), timeouts_, FromUtf8(entry_.path) + u"/missing.bin", root), FTP_NOT_FOUND);
    EXPECT_EQ(Contents(volume / "firmware.bin"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));

    ASSERT_EQ(RunFtpGet(Endpoint(), timeouts_, remotePath_, root), FTP_OK);
    EXPECT_EQ(Contents(volume / "firmware.bin"), HarnessServers::ImageOf(entry_));
    EXPECT_FALSE(fs::exists(volume / "firmware.tmp"));
    fs::remove_all(scratch);
}

TEST_F(WinInetTransfers, FetchAcceptsOnlyTheWholeImageWithItsDigest) {
    const auto fetch = [&](std::uint32_t length, const std::string& md5) {
        UpdaterContext ctx;
        ctx.endpoints.ftp = Endpoint();
        ctx.transferTimeouts = timeouts_;
        ctx.softwareRecord.sw_path = FromUtf8(entry_.path);
        ctx.softwareRecord.sw_filename = FromUtf8(entry_.filename);
        ctx.softwareRecord.sw_length = length;
        ctx.softwareRecord.sw_md5 = FromUtf8(md5);
        return FetchImage(ctx);
    };
    const std::string wrongDigest(32, '0');
    EXPECT_EQ(fetch(entry_.length, entry_.md5), FETCH_OK);
    EXPECT_EQ(fetch(entry_.length, wrongDigest), FETCH_BAD_IMAGE);
    EXPECT_EQ(fetch(entry_.length + 512, entry_.md5), FETCH_BAD_IMAGE) << "the served file is shorter";
}

TEST(WinInetTimeouts, ASilentServerEndsTheLookUpAsNoConnection) {
    const SocketHandle listener = OpenTcpSocket();
    ASSERT_NE(listener, kNoSocket);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(listen(listener, 8), 0);  // connections are taken by the system, never greeted
    socklen_t length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    FtpEndpoint silent;
    silent.host = "127.0.0.1";
    silent.port = ntohs(address.sin_port);
    silent.user = "user";
    silent.password = "password";
    auto result = std::async(std::launch::async, [silent] {
        return RunFtpCheck(silent, TransferTimeouts{1000ms, 2s}, u"a.bin");
    });
    ASSERT_EQ(result.wait_for(30s), std::future_status::ready) << "the look-up hangs on a silent server";
    EXPECT_EQ(result.get(), FTP_NO_CONNECTION);
    CloseSocket(listener);
}

}  // namespace
