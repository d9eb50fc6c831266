#include "settings/VideoInputSettings.h"

#include <gtest/gtest.h>

#include "app/UpdaterContext.h"
#include "settings/DialogActions.h"

namespace {

using Items = std::vector<std::u16string>;

DeviceConfig Record(std::uint8_t capabilities, std::uint8_t inputCount) {
    DeviceConfig config;
    config.setCapabilities(capabilities);
    config.setVideoInputCount(inputCount);
    return config;
}

VideoInputControls Filled(const DeviceConfig& config, VideoDialog dialog) {
    VideoInputControls controls;
    FillVideoInputs(config, dialog, controls);
    return controls;
}

TEST(VideoInputFill, SingleInputLeavesTheOthersDisabledAndEmpty) {
    const auto controls = Filled(Record(CAP_REAR_INPUT, 1), VideoDialog::Video146);
    EXPECT_TRUE(controls.inputs[0].enabled);
    EXPECT_EQ(controls.inputs[0].items, Items{u"Video 1"});
    for (int k = 1; k < 4; ++k) {
        EXPECT_FALSE(controls.inputs[k].enabled) << k;
        EXPECT_TRUE(controls.inputs[k].items.empty()) << k;
    }
}

TEST(VideoInputFill, FrontCameraLeadsInputTwoEvenWhenItIsDisabled) {
    const auto controls = Filled(Record(CAP_FRONT_INPUT | CAP_LEFT_INPUT, 1), VideoDialog::Hdmi149);
    EXPECT_FALSE(controls.inputs[1].enabled);
    EXPECT_EQ(controls.inputs[1].items, Items{u"Front camera"});
    EXPECT_EQ(controls.inputs[1].selection, kNoSelection);

    // Front without rear or left: no leading item.
    const auto plain = Filled(Record(CAP_FRONT_INPUT, 2), VideoDialog::Hdmi149);
    EXPECT_EQ(plain.inputs[1].items, (Items{u"Not used", u"Video 2"}));
}

TEST(VideoInputFill, ListsOf146FollowTheCapabilities) {
    auto controls = Filled(Record(CAP_FRONT_INPUT | CAP_REAR_INPUT, 4), VideoDialog::Video146);
    EXPECT_EQ(controls.inputs[1].items, (Items{u"Front camera", u"Video 2", u"Rear camera", u"Not used"}));
    EXPECT_EQ(controls.inputs[2].items, (Items{u"Video 3", u"Left side camera", u"Not used"}));
    EXPECT_EQ(controls.inputs[3].items, (Items{u"Video 4", u"Right side camera", u"Not used"}));

    controls = Filled(Record(CAP_FRONT_INPUT, 4), VideoDialog::Video146);
    EXPECT_EQ(controls.inputs[1].items, (Items{u"Video 2", u"Not used"}));
    EXPECT_EQ(controls.inputs[2].items, (Items{u"Video 3", u"Front camera", u"Not used"}));
    EXPECT_EQ(controls.inputs[3].items, (Items{u"Video 4", u"Not used"}));
}

TEST(VideoInputFill, ListOf149WithRearCamera) {
    const auto controls = Filled(Record(CAP_REAR_INPUT, 2), VideoDialog::Hdmi149);
    EXPECT_TRUE(controls.inputs[1].enabled);
    EXPECT_EQ(controls.inputs[1].items, (Items{u"Not used", u"Video 2", u"Rear camera"}));
}

TEST(VideoInputFill, AudioInputOneIsSelectedByCodeOne) {
    DeviceConfig config = Record(CAP_INPUT1_AUDIO, 1);
    config.setInputSource(1, 1);
    auto controls = Filled(config, VideoDialog::Hdmi149);
    EXPECT_EQ(controls.inputs[0].items, Items{u"Audio/Video 1"});
    EXPECT_EQ(controls.inputs[0].selection, 0);
    for (std::uint8_t code : {0, 2, 3}) {  // code 2 points past the one-item list
        config.setInputSource(1, code);
        EXPECT_EQ(Filled(config, VideoDialog::Hdmi149).inputs[0].selection, kNoSelection) << int(code);
    }
}

TEST(VideoInputTables, IndexCountsTheLeadingFrontCamera) {
    // 149 with a leading "Front camera": code n selects item n of the whole list.
    DeviceConfig config = Record(CAP_FRONT_INPUT | CAP_REAR_INPUT, 2);
    for (std::uint8_t code = 0; code < 4; ++code) {
        config.setInputSource(2, code);
        EXPECT_EQ(Filled(config, VideoDialog::Hdmi149).inputs[1].selection, code);
    }
    // 146: 1 -> 0, 2 -> 1, 3 -> 2, 0 -> 3 over "Front camera", "Video 2", "Rear camera", "Not used".
    const std::array<int, 4> item146{3, 0, 1, 2};
    for (std::uint8_t code = 0; code < 4; ++code) {
        config.setInputSource(2, code);
        EXPECT_EQ(Filled(config, VideoDialog::Video146).inputs[1].selection, item146[code]);
    }
}

TEST(VideoInputTables, AcceptStoresByTheIndexTables) {
    struct Case {
        VideoDialog dialog;
        int input;
        int item;
        int expected;  // -1: unchanged
    };
    const Case cases[] = {
        {VideoDialog::Hdmi149, 1, 0, 1},   {VideoDialog::Hdmi149, 1, 1, 3},  {VideoDialog::Hdmi149, 2, 0, 0},
        {VideoDialog::Hdmi149, 2, 1, 1},   {VideoDialog::Hdmi149, 2, 2, 2},  {VideoDialog::Hdmi149, 2, 3, -1},
        {VideoDialog::Video146, 2, 0, 1},  {VideoDialog::Video146, 2, 1, 2}, {VideoDialog::Video146, 2, 2, 0},
        {VideoDialog::Video146, 2, 3, -1}, {VideoDialog::Video146, 3, 0, 1}, {VideoDialog::Video146, 3, 1, 3},
        {VideoDialog::Video146, 3, 2, 0},  {VideoDialog::Video146, 4, 0, 1}, {VideoDialog::Video146, 4, 1, 3},
        {VideoDialog::Video146, 4, 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "input " << c.input << " item " << c.item);
        DeviceConfig config;
        config.setInputSources(0b10'10'10'10);  // every input at 2
        VideoInputControls controls;
        auto& list = controls.inputs[static_cast<std::size_t>(c.input - 1)];
        list.items.assign(4, u"item");
        list.selection = c.item;
        AcceptVideoInputs(controls, c.dialog, config);
        EXPECT_EQ(config.inputSource(c.input), c.expected < 0 ? 2 : c.expected);
    }
}

TEST(VideoInputTables, UnmappedCodeSelectsNothingAndStaysOnAccept) {
    // 146 with a rear camera and no leading item: code 0 points at item 3 of a three-item list.
    DeviceConfig config = Record(CAP_REAR_INPUT, 2);
    config.setInputSource(2, 0);
    auto controls = Filled(config, VideoDialog::Video146);
    EXPECT_EQ(controls.inputs[1].selection, kNoSelection);
    AcceptVideoInputs(controls, VideoDialog::Video146, config);
    EXPECT_EQ(config.input2Source(), 0);
}

TEST(VideoInputTables, UnchangedDialog146RewritesCameraCodes) {
    DeviceConfig config = Record(CAP_REAR_INPUT, 3);
    config.setInputSource(2, 3);
    config.setInputSource(3, 2);
    const auto controls = Filled(config, VideoDialog::Video146);
    AcceptVideoInputs(controls, VideoDialog::Video146, config);
    EXPECT_EQ(config.input2Source(), 0);  // 3 -> item 2 "Not used" -> 0
    EXPECT_EQ(config.input3Source(), 3);  // 2 -> item 1 -> 3
}

TEST(VideoInputTicks, SyncOnGreenKeepsItsTickAcrossShowings) {
    DeviceConfig config = Record(0, 1);
    config.setSyncPolarity(SYNC_POSITIVE);
    VideoInputControls controls;
    FillVideoInputs(config, VideoDialog::Video146, controls);
    EXPECT_TRUE(controls.syncOnGreen.enabled);
    controls.syncOnGreen.checked = true;  // ticked, then Cancel: nothing stored

    FillVideoInputs(config, VideoDialog::Video146, controls);
    EXPECT_TRUE(controls.syncOnGreen.checked);
    AcceptVideoInputs(controls, VideoDialog::Video146, config);
    EXPECT_TRUE(config.has(SIG_SYNC_ON_GREEN));

    // Without polarity the box is disabled, but its tick is still what Accept stores.
    config.setSyncPolarity(SYNC_NONE);
    config.set(SIG_SYNC_ON_GREEN, false);
    FillVideoInputs(config, VideoDialog::Hdmi149, controls);
    EXPECT_FALSE(controls.syncOnGreen.enabled);
    EXPECT_FALSE(controls.syncPolarity.enabled);
    EXPECT_TRUE(controls.syncPolarity.items.empty());
    AcceptVideoInputs(controls, VideoDialog::Hdmi149, config);
    EXPECT_TRUE(config.has(SIG_SYNC_ON_GREEN));
}

TEST(VideoInputTicks, VideoInMotionDisabledButStored) {
    DeviceConfig config = Record(0, 1);
    config.set(SIG_VIDEO_IN_MOTION, true);
    VideoInputControls controls;
    FillVideoInputs(config, VideoDialog::Hdmi149, controls);
    EXPECT_FALSE(controls.videoInMotion.enabled);
    EXPECT_FALSE(controls.videoInMotion.checked);  // not supported: the tick is not taken from the record
    AcceptVideoInputs(controls, VideoDialog::Hdmi149, config);
    EXPECT_FALSE(config.has(SIG_VIDEO_IN_MOTION));

    config.set(VID_VIM_SUPPORTED, true);
    config.set(SIG_VIDEO_IN_MOTION, true);
    FillVideoInputs(config, VideoDialog::Hdmi149, controls);
    EXPECT_TRUE(controls.videoInMotion.enabled);
    EXPECT_TRUE(controls.videoInMotion.checked);

    // Another interface without support: disabled again, the earlier tick kept and stored.
    DeviceConfig other = Record(0, 1);
    FillVideoInputs(other, VideoDialog::Hdmi149, controls);
    EXPECT_FALSE(controls.videoInMotion.enabled);
    EXPECT_TRUE(controls.videoInMotion.checked);
    AcceptVideoInputs(controls, VideoDialog::Hdmi149, other);
    EXPECT_TRUE(other.has(SIG_VIDEO_IN_MOTION));
}

TEST(VideoInputTicks, ParkingLinesTickIsTheInverseOfTheOffBit) {
    DeviceConfig config = Record(0, 1);
    VideoInputControls controls;
    FillVideoInputs(config, VideoDialog::Video146, controls);
    EXPECT_TRUE(controls.parkingLines.checked);
    controls.parkingLines.checked = false;
    AcceptVideoInputs(controls, VideoDialog::Video146, config);
    EXPECT_TRUE(config.has(VID_PARKING_LINES_OFF));
    FillVideoInputs(config, VideoDialog::Video146, controls);
    EXPECT_FALSE(controls.parkingLines.checked);
}

TEST(VideoInputSync, BothDialogsSelectAndStoreThePolarity) {
    for (auto dialog : {VideoDialog::Video146, VideoDialog::Hdmi149}) {
        DeviceConfig config = Record(0, 1);
        config.setSyncPolarity(SYNC_NEGATIVE);
        auto controls = Filled(config, dialog);
        EXPECT_EQ(controls.syncPolarity.items, (Items{u"Positive", u"Negative"}));
        EXPECT_EQ(controls.syncPolarity.selection, 1);
        controls.syncPolarity.selection = 0;
        AcceptVideoInputs(controls, dialog, config);
        EXPECT_EQ(config.syncPolarity(), SYNC_POSITIVE);

        config.setSyncPolarity(3);  // no item for it: nothing selected, the code stays
        controls = Filled(config, dialog);
        EXPECT_EQ(controls.syncPolarity.selection, kNoSelection);
        AcceptVideoInputs(controls, dialog, config);
        EXPECT_EQ(config.syncPolarity(), 3);
    }
}

TEST(VideoInputAccept, TouchesOnlyBytesFourFiveAndSeven) {
    DeviceConfig::Bytes bytes;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(0x3C + i * 7);
    }
    DeviceConfig config(bytes);
    auto controls = Filled(config, VideoDialog::Video146);
    controls.parkingLines.checked = !controls.parkingLines.checked;
    controls.syncOnGreen.checked = true;
    AcceptVideoInputs(controls, VideoDialog::Video146, config);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i != 4 && i != 5 && i != 7) {
            EXPECT_EQ(config.bytes()[i], bytes[i]) << i;
        }
    }
    EXPECT_EQ(config.videoOptions() & 0x7F, bytes[4] & 0x7F);  // only the parking-lines bit moved
}

TEST(VideoInputAccept, DialogAcceptRequestsTheWriteAnd146GoesIdle) {
    UpdaterContext ctx;
    ctx.mainState = 7;
    AcceptVideoSettingsDialog(ctx, VideoInputControls{}, VideoDialog::Hdmi149);
    EXPECT_TRUE(ctx.configWritePending);
    EXPECT_EQ(ctx.mainState, 7);
    ctx.configWritePending = false;
    AcceptVideoSettingsDialog(ctx, VideoInputControls{}, VideoDialog::Video146);
    EXPECT_TRUE(ctx.configWritePending);
    EXPECT_EQ(ctx.mainState, MS_IDLE);
}

}  // namespace
