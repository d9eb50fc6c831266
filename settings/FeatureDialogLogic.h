#pragma once
// The logic of the features dialog (template 162, class CFeaturesDlg): the view's reset on showing
// (with the catalogue's label table, catalogue/FeatureLabels), the check-box rules, Accept and the two
// results the controller hands back. The Qt dialog copies FeatureView to its controls after each call.
//
// Decisions where the interface's behaviour leaves a choice:
// - The third box (1050) is governed by bit 2 of the feature byte, the bit Accept writes for it;
//   testing bit 0 would offer a feature the interface does not have, or hide one it has.
// - A box whose label index has no entry in the table keeps the template's text for that input
//   ("Rear Camera", "Auxilary Input", "Navigation Input").
// - From the reset until the read result, every box is disabled: a choice made then would be sent
//   with bits 3..7 of an earlier read, possibly of another interface.
// - The busy indicator is an animated (indeterminate) bar while busy is set.
#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "catalogue/FeatureLabels.h"
#include "settings/Controls.h"
#include "settings/SettingsRequests.h"

struct UpdaterContext;

namespace FeatureDialogIds {
constexpr std::array<int, 3> INPUT{1049, 1051, 1050};  // bits 0, 1, 2
constexpr int TURN_OFF = 1058;
constexpr int STATUS = 1060;
constexpr int BUSY = 1061;
constexpr int ICON = 1063;
constexpr int ACCEPT = 1055;
}  // namespace FeatureDialogIds

enum FeatureIcon { ICON_READY = 131, ICON_SUCCESS = 144, ICON_ERROR = 145 };

struct FeatureView {
    std::array<CheckBoxState, 3> inputs;
    std::array<std::u16string, 3> inputTexts{u"Rear Camera", u"Auxilary Input", u"Navigation Input"};
    CheckBoxState turnOff;
    bool acceptEnabled = true;
    std::u16string status = u"Click Accept to Start Programming";
    int icon = ICON_READY;
    bool busy = false;             // progress bar shown, marquee running
    std::array<bool, 3> choice{};  // the dialog's choice flags
};

// On showing (after the label query has been merged into the table).
void ResetFeatureView(const FeatureLabelTable& labels, FeatureView& view);
void ShowFeatureReadResult(FeatureView& view, std::u16string_view text, bool failed,
                           std::uint8_t featureBits);
void ShowFeatureWriteResult(FeatureView& view, std::u16string_view text, bool failed);
// A click on input box 0..2 (1049, 1051, 1050) or on "Turn Off Previously Activated Inputs".
void OnFeatureInputClicked(FeatureView& view, int box);
void OnTurnOffClicked(FeatureView& view);
// Accept: the three choice flags become bits 0..2, bits 3..7 are kept. Returns the new byte.
std::uint8_t FeatureByteFor(const FeatureView& view, std::uint8_t featureBits);
// While an install runs nothing is requested and the view stays as it was; the outcome carries
// the refusal to show.
SettingsOutcome OnFeatureAccept(UpdaterContext& ctx, FeatureView& view);
