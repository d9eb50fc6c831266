#pragma once
// Fill and accept of the two video-input dialogs: "Device video settings" (template 146, class
// CSettingsDlg, four inputs, WE5540R) and "Device Settings" (template 149, class CHDMISettingsDlg,
// two inputs, TN7581R and TN7580R). They read capabilities and touch only record bytes 4, 5 and 7.
//
// The sync polarity list of 146 is enabled and offered like that of 149; a choice the user can
// make and that is then silently dropped would be a lie, so 146 selects the record's polarity and
// stores the selection exactly as 149 does.
//
// Controls keep their states between showings: the fill rebuilds lists and enabled states, sets
// the ticks it names and leaves "Sync On Green" (always) and "Video In Motion" (when video in
// motion cannot be switched) as they were; accept stores them whether enabled or not.
#include <array>

#include "config/DeviceConfig.h"
#include "settings/Controls.h"

enum class VideoDialog { Video146, Hdmi149 };

namespace VideoSettingsIds {
constexpr int INPUT1 = 1030;
constexpr int INPUT2 = 1031;
constexpr int INPUT3 = 1032;  // 146 only
constexpr int INPUT4 = 1034;  // 146 only
constexpr int SYNC_POLARITY = 1039;
constexpr int PARKING_LINES = 1036;
constexpr int VIDEO_IN_MOTION = 1037;
constexpr int SYNC_ON_GREEN = 1040;
constexpr int ACCEPT = 1029;
constexpr int SYNC_POLARITY_LABEL = 1038;
constexpr int INPUT1_LABEL_149 = 1042;
constexpr int INPUT2_LABEL_149 = 1002;
constexpr std::array<int, 4> INPUTS{INPUT1, INPUT2, INPUT3, INPUT4};
}  // namespace VideoSettingsIds

struct VideoInputControls {
    std::array<ComboBoxState, 4> inputs;  // Input 1..4; 149 uses the first two
    ComboBoxState syncPolarity;
    CheckBoxState parkingLines;
    CheckBoxState videoInMotion;
    CheckBoxState syncOnGreen;
};

// Number of input lists the dialog has (4 for 146, 2 for 149).
int InputCount(VideoDialog dialog);

void FillVideoInputs(const DeviceConfig& config, VideoDialog dialog, VideoInputControls& controls);
// Stores the controls into bytes 4, 5 and 7; the caller then sets configWritePending.
void AcceptVideoInputs(const VideoInputControls& controls, VideoDialog dialog, DeviceConfig& config);

// Shared with the HDMI camera page: rebuilds the sync polarity list, "Sync On Green"'s enabled
// state and the parking-lines tick from the record.
void FillSyncAndParkingLines(const DeviceConfig& config, ComboBoxState& syncPolarity,
                             CheckBoxState& syncOnGreen, CheckBoxState& parkingLines);
void AcceptSyncAndParkingLines(const ComboBoxState& syncPolarity, const CheckBoxState& syncOnGreen,
                               const CheckBoxState& parkingLines, DeviceConfig& config);
