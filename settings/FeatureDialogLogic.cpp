#include "settings/FeatureDialogLogic.h"

#include "app/UpdaterContext.h"
#include "settings/SettingsTexts.h"

namespace {
bool AnyChoice(const FeatureView& view) {
    return view.choice[0] || view.choice[1] || view.choice[2];
}

void StopBusy(FeatureView& view, std::u16string_view text) {
    view.busy = false;
    view.status = std::u16string(text);
}
}  // namespace

void ResetFeatureView(const FeatureLabelTable& labels, FeatureView& view) {
    for (std::size_t i = 0; i < view.inputs.size(); ++i) {
        view.inputs[i].checked = false;
        view.inputs[i].enabled = false;
        const std::u16string* label = labels.Find(static_cast<int>(i) + 1);
        view.inputTexts[i] = label ? *label : std::u16string(settings_texts::kFeatureBoxTexts[i]);
    }
    view.choice = {};
    view.acceptEnabled = false;
    view.turnOff = {false, false};
    view.icon = ICON_READY;
    view.busy = true;
    view.status = std::u16string(settings_texts::kPleaseWait);
}

void ShowFeatureReadResult(FeatureView& view, std::u16string_view text, bool failed,
                           std::uint8_t featureBits) {
    StopBusy(view, text);
    if (failed) {
        view.icon = ICON_ERROR;
        for (auto& box : view.inputs) {
            box.enabled = false;
        }
        view.turnOff.enabled = false;
        return;
    }
    view.icon = ICON_READY;
    for (std::size_t i = 0; i < view.inputs.size(); ++i) {
        view.inputs[i].enabled = (featureBits & (1u << i)) != 0;
    }
    view.turnOff.enabled = true;
}

void ShowFeatureWriteResult(FeatureView& view, std::u16string_view text, bool failed) {
    StopBusy(view, text);
    view.icon = failed ? ICON_ERROR : ICON_SUCCESS;
}

void OnFeatureInputClicked(FeatureView& view, int box) {
    if (box < 0 || box >= static_cast<int>(view.inputs.size())) {
        return;
    }
    const auto i = static_cast<std::size_t>(box);
    if (!view.inputs[i].enabled) {
        return;  // a disabled box cannot be clicked
    }
    view.choice[i] = !view.choice[i];
    view.inputs[i].checked = view.choice[i];
    if (view.choice[i]) {
        view.turnOff.checked = false;
        view.acceptEnabled = true;
    } else {
        view.acceptEnabled = AnyChoice(view);
    }
}

void OnTurnOffClicked(FeatureView& view) {
    if (!view.turnOff.enabled) {
        return;
    }
    view.turnOff.checked = !view.turnOff.checked;
    view.choice = {};
    if (view.turnOff.checked) {
        for (auto& box : view.inputs) {
            box.checked = false;
        }
        view.acceptEnabled = true;
    } else {
        view.acceptEnabled = false;
    }
}

std::uint8_t FeatureByteFor(const FeatureView& view, std::uint8_t featureBits) {
    std::uint8_t bits = featureBits & 0xF8;
    for (std::size_t i = 0; i < view.choice.size(); ++i) {
        if (view.choice[i]) {
            bits = static_cast<std::uint8_t>(bits | (1u << i));
        }
    }
    return bits;
}

SettingsOutcome OnFeatureAccept(UpdaterContext& ctx, FeatureView& view) {
    if (!view.acceptEnabled) {
        return {};
    }
    const SettingsOutcome outcome = RequestFeatureWrite(ctx, FeatureByteFor(view, ctx.featureBits));
    if (!outcome.Refused()) {
        view.busy = true;
        view.status = std::u16string(settings_texts::kPleaseWait);
    }
    return outcome;
}
