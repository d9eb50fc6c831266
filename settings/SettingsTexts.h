#pragma once
// Texts the settings logic puts into lists and messages, exactly as the interface's users know them.
#include <array>
#include <string_view>

namespace settings_texts {
inline constexpr std::u16string_view kVideo1 = u"Video 1";
inline constexpr std::u16string_view kAudioVideo1 = u"Audio/Video 1";
inline constexpr std::u16string_view kNotUsed = u"Not used";
inline constexpr std::u16string_view kFrontCamera = u"Front camera";
inline constexpr std::u16string_view kRearCamera = u"Rear camera";
inline constexpr std::u16string_view kLeftSideCamera = u"Left side camera";
inline constexpr std::u16string_view kRightSideCamera = u"Right side camera";
inline constexpr std::u16string_view kPositive = u"Positive";
inline constexpr std::u16string_view kNegative = u"Negative";

inline constexpr std::u16string_view kOsdNotSupported = u"OSD Settings Not Supported";
inline constexpr std::u16string_view kVideoTab = u"VIDEO INPUT SETTINGS";
inline constexpr std::u16string_view kOverlayTab = u"VIDEO INPUT TEXT OVERLAY SETTINGS";

// Overlay list items per camera position (rear, front, left, right): camera name, input name.
inline constexpr std::array<std::array<std::u16string_view, 2>, 4> kOverlayItems{{
    {u"Rear Camera", u"Input 1"},
    {u"Front Camera", u"Input 2"},
    {u"Left Camera", u"Input 3"},
    {u"Right Camera", u"Input 4"},
}};

// Our own texts: settings and feature requests wait until no install runs.
inline constexpr std::u16string_view kSettingsDuringInstall =
    u"Settings cannot be changed while new software is being installed.";
inline constexpr std::u16string_view kFeaturesDuringInstall =
    u"Features cannot be programmed while new software is being installed.";

inline constexpr std::u16string_view kPleaseWait = u"Please Wait...";
inline constexpr std::u16string_view kClickAccept = u"Click Accept to Start Programming";
// Initial texts of the three feature boxes, kept when the catalogue has no label for a box.
inline constexpr std::array<std::u16string_view, 3> kFeatureBoxTexts{u"Rear Camera", u"Auxilary Input",
                                                                     u"Navigation Input"};
}  // namespace settings_texts
