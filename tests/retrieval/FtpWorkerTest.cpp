// The FTP worker as the controller starts and polls it: command directions 3 and 4, ftpResult
// then ftpDone, and a context that outlives its worker.
#include "retrieval/FtpWorker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/support/FtpTestServer.h"
#include "SilentServer.h"
#include "app/UpdaterContext.h"
#include "link/CommandSet.h"
#include "retrieval/FtpTransfers.h"

namespace {

namespace fs = std::filesystem;

std::u16string Wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

// Polls ftpDone as the controller does; false after 20 s.
bool WaitForDone(const UpdaterContext& ctx) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!ctx.ftpDone.load(std::memory_order_acquire)) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class FtpWorkerOnServer : public ::testing::Test {
  protected:
    void SetUp() override {
        auto server = SharedFtpServer();
        if (!server) {
            GTEST_SKIP() << "TELVIX_TEST_FTP_HOST is not set (run through scripts/test-all)";
        }
        root_ = server->root;
        ctx_.endpoints.ftp = server->endpoint;
        WriteFile(root_ / directory_ / "lvds" / "a1.bin", image_);
        ctx_.softwareRecord.sw_path = Wide(directory_ + "/lvds");
        ctx_.softwareRecord.sw_filename = u"a1.bin";
        ctx_.volumeRoot = volume_.Root();
        InstallFtpWorker(commands_, ctx_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root_ / directory_, ignored);
    }

    ScratchDirectory volume_;
    UpdaterContext ctx_;
    CommandSet commands_{ctx_};
    fs::path root_;
    std::string directory_ = UniqueDirectoryName() + "w";
    const std::vector<std::uint8_t> image_ = ImageBytes(20000, 31);
};

TEST_F(FtpWorkerOnServer, DirectionThreeChecksTheRecordsFile) {
    ctx_.ftpDone.store(true);
    ctx_.ftpResult.store(99);
    EXPECT_EQ(commands_.IssueCommand(0, 1, CMD_DIR_FTP_CHECK), 1);
    EXPECT_EQ(ctx_.remotePath, Wide(directory_ + "/lvds/a1.bin"));
    ASSERT_TRUE(WaitForDone(ctx_));
    EXPECT_EQ(ctx_.ftpResult.load(), FTP_OK);
    EXPECT_EQ(ctx_.ftpMode.load(), FTP_IDLE);
    EXPECT_FALSE(fs::exists(volume_.Path() / "firmware.bin"));  // a check downloads nothing

    ctx_.softwareRecord.sw_filename = u"a2.bin";
    commands_.IssueCommand(0, 1, CMD_DIR_FTP_CHECK);
    ASSERT_TRUE(WaitForDone(ctx_));
    EXPECT_EQ(ctx_.ftpResult.load(), FTP_NOT_FOUND);
}

TEST_F(FtpWorkerOnServer, DirectionFourDownloadsOntoTheVolume) {
    EXPECT_EQ(commands_.IssueCommand(0, 1, CMD_DIR_FTP_GET), 1);
    ASSERT_TRUE(WaitForDone(ctx_));
    EXPECT_EQ(ctx_.ftpResult.load(), FTP_OK);
    EXPECT_EQ(ctx_.ftpMode.load(), FTP_IDLE);
    EXPECT_EQ(ReadFile(volume_.Path() / "firmware.bin"), image_);
}

TEST_F(FtpWorkerOnServer, WrongPasswordReachesTheController) {
    ctx_.endpoints.ftp.password = "wrong123";
    commands_.IssueCommand(0, 1, CMD_DIR_FTP_GET);
    ASSERT_TRUE(WaitForDone(ctx_));
    EXPECT_EQ(ctx_.ftpResult.load(), FTP_NO_CONNECTION);
}

TEST(FtpWorker, DoneIsClearedBeforeTheWorkerRuns) {
    // A silent server holds the worker in its connect, so the start is seen before the end.
    SilentServer silent;
    UpdaterContext ctx;
    ctx.endpoints.ftp = silent.Endpoint();
    ctx.transferTimeouts.connect = std::chrono::milliseconds(2000);
    ctx.softwareRecord.sw_path = u"fw";
    ctx.softwareRecord.sw_filename = u"a1.bin";
    ctx.ftpDone.store(true);
    CommandSet commands(ctx);
    InstallFtpWorker(commands, ctx);
    commands.IssueCommand(0, 1, CMD_DIR_FTP_CHECK);
    EXPECT_FALSE(ctx.ftpDone.load(std::memory_order_acquire));
    ASSERT_TRUE(WaitForDone(ctx));
    EXPECT_EQ(ctx.ftpResult.load(), FTP_NO_CONNECTION);
}

TEST(FtpWorker, IdleModeOnlySetsDone) {
    UpdaterContext ctx;
    ctx.endpoints.ftp = ClosedPortEndpoint();
    ctx.remotePath = u"fw/a1.bin";
    ctx.ftpMode.store(FTP_IDLE);
    ctx.ftpResult.store(77);
    ctx.ftpDone.store(true);
    LaunchFtpWorker(ctx);
    ASSERT_TRUE(WaitForDone(ctx));
    EXPECT_EQ(ctx.ftpResult.load(), 77);
    EXPECT_EQ(ctx.ftpMode.load(), FTP_IDLE);

    ctx.ftpDone.store(false);
    RunFtpWorker(ctx);
    EXPECT_TRUE(ctx.ftpDone.load());
    EXPECT_EQ(ctx.ftpResult.load(), 77);
}

TEST(FtpWorker, OverlongPathIsNotFoundWithoutConnecting) {
    UpdaterContext ctx;
    ctx.endpoints.ftp = ClosedPortEndpoint();  // a connection attempt would answer 1
    ctx.softwareRecord.sw_path = std::u16string(60, u'p');
    ctx.softwareRecord.sw_filename = u"a1.bin";
    CommandSet commands(ctx);
    InstallFtpWorker(commands, ctx);
    commands.IssueCommand(0, 1, CMD_DIR_FTP_CHECK);
    EXPECT_TRUE(ctx.remotePath.empty());
    ASSERT_TRUE(WaitForDone(ctx));
    EXPECT_EQ(ctx.ftpResult.load(), FTP_NOT_FOUND);
}

TEST(FtpWorker, ContextDestroyedDuringATransferWaitsForTheWorker) {
    // Destroying the context must wait for the worker held in its 200 ms connect; a worker left
    // running would use freed fields (AddressSanitizer reports that too).
    SilentServer silent;
    auto ctx = std::make_unique<UpdaterContext>();
    ctx->endpoints.ftp = silent.Endpoint();
    ctx->transferTimeouts.connect = std::chrono::milliseconds(200);
    ctx->remotePath = u"fw/a1.bin";
    ctx->ftpMode.store(FTP_GET);
    LaunchFtpWorker(*ctx);
    const auto start = std::chrono::steady_clock::now();
    ctx.reset();
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
}

}  // namespace
