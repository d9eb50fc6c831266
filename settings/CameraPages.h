#pragma once
// Fill and apply of the camera pages, tab 0 of the two tabbed settings hosts: the LVDS page
// (template 129, class CLVDSSettingDlg; QD7720R, QD772ER, WD7731R, WH7731R, WE5581R, WJ7731R) and
// the HDMI page (template 163, class CHDMIV2SettingsDlg; TN7931R). They edit record bytes 0..5.
//
// Ticks and radio selections persist between showings: a box whose capability or factory bit is
// clear keeps the tick of an earlier showing, and apply stores it. Once a fill for a model without
// HDMI input has disabled the HDMI box, later fills tick it from the record but never enable it.
// The context wrappers at the bottom add the page's rule on configWritePending.
#include <array>
#include <string>
#include <string_view>

#include "config/DeviceConfig.h"
#include "settings/Controls.h"
#include "settings/SettingsRequests.h"

struct UpdaterContext;

namespace LvdsPageIds {
constexpr int HDMI = 1012;
constexpr std::array<int, 4> AFTERMARKET{1013, 1068, 1015, 1016};  // rear, front, left, right
constexpr std::array<int, 4> FACTORY{1017, 1018, 1019, 1020};
// Group A (front camera): "Manual", "Manual With Speed Check".
constexpr std::array<int, 2> GROUP_A{1056, 1057};
// Group B (lane-watch cameras): "Manual", "Manual With Speed Check", "Manual Without Speed Check".
constexpr std::array<int, 3> GROUP_B{1058, 1064, 1065};
}  // namespace LvdsPageIds

namespace HdmiPageIds {
constexpr int HDMI = 1068;
constexpr std::array<int, 4> AFTERMARKET{1069, 1071, 1015, 1016};
constexpr int FACTORY_REAR = 1070;
// Group A: "Manual", "Manual Without Speed Check".
constexpr std::array<int, 2> GROUP_A{1056, 1057};
constexpr int SYNC_POLARITY_LABEL = 1038;
constexpr int SYNC_POLARITY = 1039;
constexpr int SYNC_ON_GREEN = 1040;
constexpr int PARKING_LINES = 1036;
}  // namespace HdmiPageIds

// Radio indices in group order.
enum LvdsGroupA { LVDS_A_MANUAL = 0, LVDS_A_WITH_SPEED_CHECK = 1 };
enum LvdsGroupB { LVDS_B_MANUAL = 0, LVDS_B_WITH_SPEED_CHECK = 1, LVDS_B_WITHOUT_SPEED_CHECK = 2 };
enum HdmiGroupA { HDMI_A_MANUAL = 0, HDMI_A_WITHOUT_SPEED_CHECK = 1 };

struct LvdsPageControls {
    std::u16string modelCode;  // handed over by the host before each fill
    CheckBoxState hdmi;
    std::array<CheckBoxState, 4> aftermarket;  // by CameraPosition
    std::array<CheckBoxState, 4> factory;
    RadioGroupState groupA;
    RadioGroupState groupB;
};

struct HdmiPageControls {
    CheckBoxState hdmi;
    std::array<CheckBoxState, 4> aftermarket;
    CheckBoxState factoryRear;
    RadioGroupState groupA;
    ComboBoxState syncPolarity;
    CheckBoxState syncOnGreen;
    CheckBoxState parkingLines;
};

void FillLvdsPage(const DeviceConfig& config, LvdsPageControls& controls);
void ApplyLvdsPage(const LvdsPageControls& controls, DeviceConfig& config);
void FillHdmiPage(const DeviceConfig& config, HdmiPageControls& controls);
void ApplyHdmiPage(const HdmiPageControls& controls, DeviceConfig& config);

// Each fill drops a write request the controller has not yet taken; each apply stores into the
// working copy and requests the write, unless an install runs (then nothing is stored).
void FillLvdsPage(UpdaterContext& ctx, LvdsPageControls& controls);
SettingsOutcome ApplyLvdsPage(UpdaterContext& ctx, const LvdsPageControls& controls);
void FillHdmiPage(UpdaterContext& ctx, HdmiPageControls& controls);
SettingsOutcome ApplyHdmiPage(UpdaterContext& ctx, const HdmiPageControls& controls);
