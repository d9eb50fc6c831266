#include "retrieval/VolumeFile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/FtpTestServer.h"

namespace {

namespace fs = std::filesystem;

TEST(VolumeFile, CommitReplacesTheExistingFileAndLeavesNoTemporary) {
    ScratchDirectory volume;
    WriteFile(volume.Path() / "firmware.bin", ImageBytes(100, 1));
    VolumeFile file(volume.Root(), "firmware.bin");
    ASSERT_TRUE(file.Open());
    const auto image = ImageBytes(5000, 2);
    ASSERT_TRUE(file.Write(std::span(image).first(1000)));
    ASSERT_TRUE(file.Write(std::span(image).subspan(1000)));
    EXPECT_EQ(ReadFile(volume.Path() / "firmware.bin"), ImageBytes(100, 1));  // untouched until commit
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadFile(volume.Path() / "firmware.bin"), image);
    EXPECT_FALSE(fs::exists(file.TemporaryPath()));
}

TEST(VolumeFile, AbandonedWriteRemovesItsTemporaryAndKeepsTheTarget) {
    ScratchDirectory volume;
    WriteFile(volume.Path() / "firmware.bin", ImageBytes(100, 1));
    std::string temporary;
    {
        VolumeFile file(volume.Root(), "firmware.bin");
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(file.Write(ImageBytes(3000, 3)));
        temporary = file.TemporaryPath();
        EXPECT_TRUE(fs::exists(temporary));
    }
    EXPECT_FALSE(fs::exists(temporary));
    EXPECT_EQ(ReadFile(volume.Path() / "firmware.bin"), ImageBytes(100, 1));
}

TEST(VolumeFile, TemporaryLivesOnTheSameVolumeUnderAShortName) {
    VolumeFile file("/media/E/", "firmware.bin");
    EXPECT_EQ(file.TargetPath(), "/media/E/firmware.bin");
    EXPECT_EQ(file.TemporaryPath(), "/media/E/firmware.tmp");
}

TEST(VolumeFile, MissingVolumeCannotBeOpenedOrCommitted) {
    ScratchDirectory scratch;
    VolumeFile file(scratch.Root() + "gone/", "firmware.bin");
    EXPECT_FALSE(file.Open());
    EXPECT_FALSE(file.Write(ImageBytes(10)));
    EXPECT_FALSE(file.Commit());
    EXPECT_FALSE(fs::exists(scratch.Path() / "gone"));
}

TEST(VolumeFile, RenameFailureKeepsTheTargetAndRemovesTheTemporary) {
    ScratchDirectory volume;
    // A non-empty directory named firmware.bin cannot be replaced by a file.
    WriteFile(volume.Path() / "firmware.bin" / "keep", ImageBytes(4));
    VolumeFile file(volume.Root(), "firmware.bin");
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(file.Write(ImageBytes(10)));
    EXPECT_FALSE(file.Commit());
    EXPECT_FALSE(fs::exists(file.TemporaryPath()));
    EXPECT_TRUE(fs::exists(volume.Path() / "firmware.bin" / "keep"));
}

}  // namespace
