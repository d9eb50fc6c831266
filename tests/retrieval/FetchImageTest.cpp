// The in-memory fetch of the HID route: download, length and digest check, engine preparation.
#include "retrieval/FetchImage.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <future>

#include "tests/support/FtpTestServer.h"
#include "app/UpdaterContext.h"
#include "retrieval/ImageDigest.h"

namespace {

namespace fs = std::filesystem;

std::u16string Wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

std::u16string DigestOf(std::span<const std::uint8_t> bytes) {
    return Wide(ImageDigest(bytes));
}

// Fetches through one endpoint; each test puts its image on that endpoint first.
class FetchImageTestBase : public ::testing::Test {
  protected:
    void UseEndpoint(const FtpEndpoint& endpoint, const fs::path& root) {
        ctx_.endpoints.ftp = endpoint;
        root_ = root;
    }
    // Puts bytes on the server at directory/name and points the software record at them.
    void Publish(const std::vector<std::uint8_t>& bytes, std::uint32_t length, const std::u16string& md5) {
        WriteFile(root_ / directory_ / "lvds" / "a1.bin", bytes);
        ctx_.softwareRecord.sw_path = Wide(directory_ + "/lvds");
        ctx_.softwareRecord.sw_filename = u"a1.bin";
        ctx_.softwareRecord.sw_length = length;
        ctx_.softwareRecord.sw_md5 = md5;
    }
    void Publish(const std::vector<std::uint8_t>& bytes) {
        Publish(bytes, static_cast<std::uint32_t>(bytes.size()), DigestOf(bytes));
    }
    void ExpectNothingLoaded() const {
        EXPECT_TRUE(ctx_.imageBuffer.empty());
        EXPECT_EQ(ctx_.bootParameters.sectorCount, 0);
    }

    UpdaterContext ctx_;
    fs::path root_;
    std::string directory_ = UniqueDirectoryName() + "f";
};

class FetchImageFromServer : public FetchImageTestBase {
  protected:
    void SetUp() override {
        auto server = SharedFtpServer();
        if (!server) {
            GTEST_SKIP() << "TELVIX_TEST_FTP_HOST is not set (run through scripts/test-all)";
        }
        UseEndpoint(server->endpoint, server->root);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root_ / directory_, ignored);
    }
};

TEST_F(FetchImageFromServer, VerifiedImageIsPaddedToWholeSectorsForTheEngine) {
    const auto image = ImageBytes(4097, 11);
    Publish(image);
    ASSERT_EQ(FetchImage(ctx_), FETCH_OK);
    EXPECT_EQ(ctx_.remotePath, Wide(directory_ + "/lvds/a1.bin"));
    EXPECT_EQ(ctx_.imageLength, 4097u);
    EXPECT_EQ(ctx_.bootParameters.sectorCount, 2);
    EXPECT_EQ(ctx_.bootParameters.pageSize, 256);
    EXPECT_EQ(ctx_.bootParameters.pagesPerSector, 16);
    EXPECT_EQ(ctx_.bootParameters.fixedBytes, 0x0210);
    ASSERT_EQ(ctx_.imageBuffer.size(), 8192u);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), ctx_.imageBuffer.begin()));
    EXPECT_TRUE(
        std::all_of(ctx_.imageBuffer.begin() + 4097, ctx_.imageBuffer.end(), [](auto b) { return b == 0; }));
    std::uint32_t sum = 0;
    for (auto b : image) {
        sum += b;
    }
    EXPECT_EQ(ctx_.imageSum.load(), sum);
}

TEST_F(FetchImageFromServer, LargestImageTheEngineCanTakeIsAccepted) {
    Publish(ImageBytes(255 * 4096, 12));
    ASSERT_EQ(FetchImage(ctx_), FETCH_OK);
    EXPECT_EQ(ctx_.bootParameters.sectorCount, 255);
    EXPECT_EQ(ctx_.imageBuffer.size(), 255u * 4096u);
}

TEST_F(FetchImageFromServer, CatalogueLengthLongerThanTheFileFailsTheDigest) {
    const auto image = ImageBytes(5000, 13);
    // Even a digest that matches the file padded with zeros must not pass a short file.
    auto padded = image;
    padded.resize(5001, 0);
    Publish(image, 5001, DigestOf(padded));
    EXPECT_EQ(FetchImage(ctx_), FETCH_BAD_IMAGE);
    ExpectNothingLoaded();
}

TEST_F(FetchImageFromServer, CatalogueLengthShorterThanTheFileUsesOnlyThePrefix) {
    const auto image = ImageBytes(9000, 14);
    const std::span prefix = std::span(image).first(4096);
    Publish(image, 4096, DigestOf(prefix));
    ASSERT_EQ(FetchImage(ctx_), FETCH_OK);
    EXPECT_EQ(ctx_.bootParameters.sectorCount, 1);
    ASSERT_EQ(ctx_.imageBuffer.size(), 4096u);
    EXPECT_TRUE(std::equal(prefix.begin(), prefix.end(), ctx_.imageBuffer.begin()));
}

TEST_F(FetchImageFromServer, ShorterLengthWithTheWholeFilesDigestFails) {
    const auto image = ImageBytes(9000, 15);
    Publish(image, 4096, DigestOf(image));
    EXPECT_EQ(FetchImage(ctx_), FETCH_BAD_IMAGE);
    ExpectNothingLoaded();
}

TEST_F(FetchImageFromServer, DigestMustBeExactLowerCaseText) {
    const auto image = ImageBytes(3000, 16);
    std::u16string upper = DigestOf(image);
    for (auto& unit : upper) {
        unit = static_cast<char16_t>(std::toupper(static_cast<int>(unit)));
    }
    Publish(image, 3000, upper);
    EXPECT_EQ(FetchImage(ctx_), FETCH_BAD_IMAGE);
    Publish(image, 3000, DigestOf(image) + u" ");
    EXPECT_EQ(FetchImage(ctx_), FETCH_BAD_IMAGE);
    ExpectNothingLoaded();
}

TEST_F(FetchImageFromServer, MissingFileAndWrongPasswordAreNoFile) {
    Publish(ImageBytes(100, 17));
    ctx_.softwareRecord.sw_filename = u"a2.bin";
    EXPECT_EQ(FetchImage(ctx_), FETCH_NO_FILE);
    ctx_.softwareRecord.sw_filename = u"a1.bin";
    ctx_.endpoints.ftp.password = "wrong123";
    EXPECT_EQ(FetchImage(ctx_), FETCH_NO_FILE);
    ExpectNothingLoaded();
}

TEST_F(FetchImageFromServer, EmptyAndOversizedLengthsAreRefusedBeforeAnyTransfer) {
    Publish(ImageBytes(100, 18), 0, DigestOf({}));
    // A closed port proves no connection is attempted: the answer is the length's, not the link's.
    ctx_.endpoints.ftp = ClosedPortEndpoint();
    EXPECT_EQ(FetchImage(ctx_), FETCH_BAD_IMAGE);
    ctx_.softwareRecord.sw_length = 255 * 4096 + 1;
    EXPECT_EQ(FetchImage(ctx_), FETCH_BAD_IMAGE);
    ctx_.softwareRecord.sw_length = 0xFFFFFFFFu;
    EXPECT_EQ(FetchImage(ctx_), FETCH_BAD_IMAGE);
    ExpectNothingLoaded();
}

TEST_F(FetchImageFromServer, PathLongerThan63CharactersIsNoFile) {
    const auto image = ImageBytes(100, 19);
    Publish(image);
    const std::string name(64 - directory_.size() - 1, 'n');
    WriteFile(root_ / directory_ / name, image);
    ctx_.softwareRecord.sw_path = Wide(directory_);
    ctx_.softwareRecord.sw_filename = Wide(name);
    EXPECT_EQ(FetchImage(ctx_), FETCH_NO_FILE);
    EXPECT_TRUE(ctx_.remotePath.empty());
    ExpectNothingLoaded();
}

TEST(FetchImageConnection, ClosedPortIsNoFile) {
    UpdaterContext ctx;
    ctx.endpoints.ftp = ClosedPortEndpoint();
    ctx.softwareRecord.sw_path = u"fw";
    ctx.softwareRecord.sw_filename = u"a1.bin";
    ctx.softwareRecord.sw_length = 100;
    ctx.softwareRecord.sw_md5 = DigestOf(ImageBytes(100));
    EXPECT_EQ(FetchImage(ctx), FETCH_NO_FILE);
}

class FetchImageFromStore : public FetchImageTestBase {
  protected:
    void SetUp() override {
        FtpEndpoint endpoint;
        endpoint.scheme = "file";
        endpoint.basePath = store_.Path().string();
        UseEndpoint(endpoint, store_.Path());
    }
    ScratchDirectory store_;
};

TEST_F(FetchImageFromStore, EmbeddedStoreServesThroughTheSameCode) {
    const auto image = ImageBytes(10000, 20);
    Publish(image);
    ASSERT_EQ(FetchImage(ctx_), FETCH_OK);
    EXPECT_EQ(ctx_.bootParameters.sectorCount, 3);
    ctx_.softwareRecord.sw_filename = u"a2.bin";
    EXPECT_EQ(FetchImage(ctx_), FETCH_NO_FILE);
}

TEST_F(FetchImageFromStore, ADirectoryIsNoImage) {
    Publish(ImageBytes(100, 21));
    ctx_.softwareRecord.sw_path = Wide(directory_);
    ctx_.softwareRecord.sw_filename = u"lvds";
    EXPECT_NE(FetchImage(ctx_), FETCH_OK);
    ExpectNothingLoaded();
}

TEST(FetchImageInterrupted, ServerKilledMidwayLoadsNothing) {
    if (!SharedFtpServer()) {
        GTEST_SKIP() << "TELVIX_TEST_FTP_HOST is not set (run through scripts/test-all)";
    }
    PrivateFtpServer server(32768);
    ASSERT_TRUE(server.Running());
    const auto image = ImageBytes(512 * 1024, 22);
    WriteFile(server.Access().root / "fw" / "big.bin", image);
    UpdaterContext ctx;
    ctx.endpoints.ftp = server.Access().endpoint;
    ctx.softwareRecord.sw_path = u"fw";
    ctx.softwareRecord.sw_filename = u"big.bin";
    ctx.softwareRecord.sw_length = static_cast<std::uint32_t>(image.size());
    ctx.softwareRecord.sw_md5 = DigestOf(image);
    auto result = std::async(std::launch::async, [&ctx] { return FetchImage(ctx); });
    // The throttled server needs 16 s for the whole image, so a started transfer is midway.
    ASSERT_TRUE(server.WaitForTransferStart());
    server.Kill();
    EXPECT_NE(result.get(), FETCH_OK);
    EXPECT_TRUE(ctx.imageBuffer.empty());
}

}  // namespace

namespace {

// The catalogue fixture's images are on the shared server at their sw_path/sw_filename.
TEST(FetchImageFixtures, EveryFixtureImageIsServedAndVerifies) {
    const auto server = SharedFtpServer();
    const char* store = std::getenv("TELVIX_TEST_IMAGE_STORE");
    if (!server || store == nullptr) {
        GTEST_SKIP()
            << "TELVIX_TEST_FTP_HOST or TELVIX_TEST_IMAGE_STORE is not set (run through scripts/test-all)";
    }
    int fetched = 0;
    for (const auto& entry : fs::recursive_directory_iterator(store)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        const fs::path relative = fs::relative(entry.path(), store);
        const auto image = ReadFile(entry.path());
        UpdaterContext ctx;
        ctx.endpoints.ftp = server->endpoint;
        ctx.softwareRecord.sw_path = Wide(relative.parent_path().string());
        ctx.softwareRecord.sw_filename = Wide(relative.filename().string());
        ctx.softwareRecord.sw_length = static_cast<std::uint32_t>(image.size());
        ctx.softwareRecord.sw_md5 = DigestOf(image);
        EXPECT_EQ(FetchImage(ctx), FETCH_OK) << relative;
        ++fetched;
    }
    EXPECT_GT(fetched, 0);
}

}  // namespace
