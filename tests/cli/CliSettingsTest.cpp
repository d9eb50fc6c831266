// config, overlay and features end to end: exactly the named bits change on the interface.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "config/DeviceConfig.h"
#include "config/OverlayConfig.h"
#include "tests/cli/CliBed.h"

using nlohmann::json;

TEST(CliConfig, SetChangesExactlyTheNamedBitsOnTheInterface) {
    REQUIRE_CLI_SERVERS(servers);
    CliBed bed(*servers, CliBedOptions{});
    // A record with every other bit set, so that a write touching a neighbour shows.
    DeviceConfig start(bed.telvix.application->StoredConfig().bytes());
    start.setCameraFlags(0xAA);
    start.setInputEnables(0x55);
    start.setCameraModes(0x01);
    start.setVideoSignal(0x8F);
    bed.telvix.application->SetStoredConfig(StoredRecord(start.bytes()));

    const CliRun run =
        bed.Run({"config", "set", "inputEnables.hdmi=off", "cameraModes.frontCameraMode=with-speed-check",
                 "videoSignal.syncPolarity=negative", "cameraFlags.aftermarketRear=off"});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    EXPECT_NE(run.out.find("Device settings have been successfully updated"), std::string::npos);

    DeviceConfig expected = start;
    expected.set(IN_HDMI, false);
    expected.setFrontCameraMode(CAMERA_MODE_WITH_SPEED_CHECK);
    expected.setSyncPolarity(SYNC_NEGATIVE);
    expected.set(CAM_AFTERMARKET_REAR, false);
    const StoredRecord stored = bed.telvix.application->StoredConfig();
    // The reply carries bytes 0..42 of the record; those are what a write can send back.
    for (std::size_t i = 0; i < 43; ++i)
        EXPECT_EQ(stored.bytes()[i], expected.bytes()[i]) << "byte " << i;
}

TEST(CliConfig, BadAssignmentsChangeNothing) {
    REQUIRE_CLI_SERVERS(servers);
    CliBed bed(*servers, CliBedOptions{});
    const StoredRecord before = bed.telvix.application->StoredConfig();
    for (const char* bad : {"inputEnables.hdmi=maybe", "capabilities.features=off", "vehicleMake=Fiat",
                            "nosuch=1", "inputSources.input1=4", "hdmi"}) {
        SCOPED_TRACE(bad);
        // A good assignment first: nothing is written when any one is bad.
        const CliRun run = bed.Run({"config", "set", "inputEnables.rear=off", bad});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find("error: "), std::string::npos);
    }
    EXPECT_EQ(bed.telvix.application->StoredConfig(), before);
}

TEST(CliConfig, ShowDecodesEveryFieldAndJsonParses) {
    REQUIRE_CLI_SERVERS(servers);
    CliBedOptions options;
    options.carries = {{1000, 1}};
    CliBed bed(*servers, options);
    DeviceConfig config(bed.telvix.application->StoredConfig().bytes());
    config.setInputSource(2, SOURCE_CAMERA);
    config.setLaneCameraMode(CAMERA_MODE_MANUAL);
    config.set(SIG_VIDEO_IN_MOTION, true);
    bed.telvix.application->SetStoredConfig(StoredRecord(config.bytes()));

    const CliRun run = bed.Run({"config", "show", "--json"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json fields = json::parse(run.out);
    EXPECT_EQ(fields["vehicleMake"], config.vehicleMake());
    EXPECT_EQ(fields["inputSources.input2"], SOURCE_CAMERA);
    EXPECT_EQ(fields["cameraModes.laneCameraMode"], CAMERA_MODE_MANUAL);
    EXPECT_EQ(fields["videoSignal.videoInMotion"], true);
    EXPECT_EQ(fields["inputEnables.hdmi"], config.has(IN_HDMI));
    EXPECT_EQ(fields["totalUpdates"], 4);
    EXPECT_EQ(fields.size(), 36u);  // 35 named fields and the raw bytes

    const CliRun text = bed.Run({"config", "show"});
    EXPECT_NE(text.out.find("inputSources.input2             2 (camera)"), std::string::npos) << text.out;
}

TEST(CliOverlay, SetWritesTheBlockAndShowReadsItBack) {
    REQUIRE_CLI_SERVERS(servers);
    CliBed bed(*servers, CliBedOptions{});
    const CliRun run = bed.Run({"overlay", "set", "rear.overlay=on", "left.caption=camera"});
    ASSERT_EQ(run.exitCode, 0) << run.out << run.err;
    const OverlayConfig stored(bed.telvix.application->StoredOverlay());
    EXPECT_TRUE(stored.overlayEnabled(CameraPosition::Rear));
    EXPECT_FALSE(stored.overlayEnabled(CameraPosition::Left));
    EXPECT_TRUE(stored.cameraCaption(CameraPosition::Left));
    EXPECT_FALSE(stored.cameraCaption(CameraPosition::Rear));
    EXPECT_EQ(stored.overlayParams(), kOverlayParams);

    const CliRun show = bed.Run({"--json", "overlay", "show"});
    ASSERT_EQ(show.exitCode, 0) << show.err;
    const json overlay = json::parse(show.out);
    EXPECT_EQ(overlay["rear.overlay"], true);
    EXPECT_EQ(overlay["left.caption"], "camera");
    EXPECT_EQ(overlay["front.caption"], "input");
}

TEST(CliFeatures, ReadsAndProgramsWithTheDialogsOutcomeTexts) {
    REQUIRE_CLI_SERVERS(servers);
    CliBed bed(*servers, CliBedOptions{});
    const CliRun read = bed.Run({"--json", "features"});
    ASSERT_EQ(read.exitCode, 0) << read.err;
    const json bits = json::parse(read.out);
    EXPECT_EQ(bits["featureByte"], bed.telvix.application->StoredFeatureBits());

    bed.telvix.application->SetProgramSequence({{2, 0}});
    const CliRun done = bed.Run({"features", "--program", "rear,nav"});
    ASSERT_EQ(done.exitCode, 0) << done.out << done.err;
    EXPECT_NE(done.out.find("Device features have been successfully updated"), std::string::npos);
    EXPECT_EQ(bed.telvix.application->StoredFeatureBits() & 0x07, 0x05);

    bed.telvix.application->SetProgramSequence({{3, 2}});
    const CliRun failed = bed.Run({"features", "--program", "aux"});
    EXPECT_EQ(failed.exitCode, 6);
    EXPECT_NE(failed.err.find("Incorrect VIN number"), std::string::npos) << failed.err;

    EXPECT_EQ(bed.Run({"features", "--program", "sunroof"}).exitCode, 2);
}
