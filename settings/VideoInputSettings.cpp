#include "settings/VideoInputSettings.h"

#include "settings/SettingsTexts.h"

namespace {

constexpr int kNone = kNoSelection;
constexpr int kUnchanged = -1;

// Per input: which list item a source code selects, and which code a selected item stores.
// Items are counted over the whole list as built, including a leading "Front camera".
struct IndexTable {
    std::array<int, 4> itemOfCode;  // code 0..3 -> item, or kNone
    std::array<int, 4> codeOfItem;  // item 0..3 -> code, or kUnchanged
};

constexpr IndexTable kInput1{{kNone, 0, 1, kNone}, {1, 3, kUnchanged, kUnchanged}};
constexpr IndexTable kInput2Hdmi{{0, 1, 2, 3}, {0, 1, 2, kUnchanged}};
constexpr IndexTable kInput2Video{{3, 0, 1, 2}, {1, 2, 0, kUnchanged}};
constexpr IndexTable kInput34Video{{2, 0, 1, kNone}, {1, 3, 0, kUnchanged}};

const IndexTable& TableFor(VideoDialog dialog, int input) {
    if (input == 1) {
        return kInput1;
    }
    if (input == 2) {
        return dialog == VideoDialog::Hdmi149 ? kInput2Hdmi : kInput2Video;
    }
    return kInput34Video;
}

bool LeadingFrontCamera(const DeviceConfig& config) {
    return config.has(CAP_FRONT_INPUT) && (config.has(CAP_REAR_INPUT) || config.has(CAP_LEFT_INPUT));
}

void AppendItems(const DeviceConfig& config, VideoDialog dialog, int input, ComboBoxState& list) {
    using namespace settings_texts;
    auto& items = list.items;
    const bool rear = config.has(CAP_REAR_INPUT);
    const bool rearOrLeft = rear || config.has(CAP_LEFT_INPUT);
    switch (input) {
        case 2:
            if (dialog == VideoDialog::Hdmi149) {
                items.emplace_back(kNotUsed);
                items.emplace_back(u"Video 2");
                if (rear) {
                    items.emplace_back(kRearCamera);
                }
            } else {
                items.emplace_back(u"Video 2");
                if (rear) {
                    items.emplace_back(kRearCamera);
                }
                items.emplace_back(kNotUsed);
            }
            break;
        case 3:
            items.emplace_back(u"Video 3");
            items.emplace_back(config.has(CAP_FRONT_INPUT) && !rearOrLeft ? kFrontCamera : kLeftSideCamera);
            items.emplace_back(kNotUsed);
            break;
        case 4:
            items.emplace_back(u"Video 4");
            if (rearOrLeft) {
                items.emplace_back(kRightSideCamera);
            }
            items.emplace_back(kNotUsed);
            break;
        default:
            break;
    }
}

void SelectByCode(const IndexTable& table, std::uint8_t code, ComboBoxState& list) {
    list.Select(table.itemOfCode[code & 0x3]);
}

void StoreByItem(const IndexTable& table, const ComboBoxState& list, int input, DeviceConfig& config) {
    if (!list.HasSelection() || list.selection >= static_cast<int>(table.codeOfItem.size())) {
        return;
    }
    const int code = table.codeOfItem[static_cast<std::size_t>(list.selection)];
    if (code != kUnchanged) {
        config.setInputSource(input, static_cast<std::uint8_t>(code));
    }
}

}  // namespace

int InputCount(VideoDialog dialog) {
    return dialog == VideoDialog::Video146 ? 4 : 2;
}

void FillSyncAndParkingLines(const DeviceConfig& config, ComboBoxState& syncPolarity,
                             CheckBoxState& syncOnGreen, CheckBoxState& parkingLines) {
    syncPolarity.Clear();
    syncPolarity.enabled = false;
    syncOnGreen.enabled = false;
    const std::uint8_t polarity = config.syncPolarity();
    if (polarity != SYNC_NONE) {
        syncPolarity.enabled = true;
        syncOnGreen.enabled = true;
        syncPolarity.items = {std::u16string(settings_texts::kPositive),
                              std::u16string(settings_texts::kNegative)};
        if (polarity == SYNC_POSITIVE) {
            syncPolarity.Select(0);
        } else if (polarity == SYNC_NEGATIVE) {
            syncPolarity.Select(1);
        }
    }
    parkingLines.checked = !config.has(VID_PARKING_LINES_OFF);
}

void AcceptSyncAndParkingLines(const ComboBoxState& syncPolarity, const CheckBoxState& syncOnGreen,
                               const CheckBoxState& parkingLines, DeviceConfig& config) {
    config.set(VID_PARKING_LINES_OFF, !parkingLines.checked);
    config.set(SIG_SYNC_ON_GREEN, syncOnGreen.checked);
    if (syncPolarity.HasSelection()) {
        const auto& item = syncPolarity.items[static_cast<std::size_t>(syncPolarity.selection)];
        if (item == settings_texts::kPositive) {
            config.setSyncPolarity(SYNC_POSITIVE);
        } else if (item == settings_texts::kNegative) {
            config.setSyncPolarity(SYNC_NEGATIVE);
        }
    }
}

void FillVideoInputs(const DeviceConfig& config, VideoDialog dialog, VideoInputControls& controls) {
    const int inputCount = InputCount(dialog);
    for (int k = 1; k <= inputCount; ++k) {
        auto& list = controls.inputs[static_cast<std::size_t>(k - 1)];
        list.Clear();
        if (k > 1) {
            list.enabled = false;
        }
    }
    controls.videoInMotion.enabled = false;

    auto& input1 = controls.inputs[0];
    input1.items.emplace_back(config.has(CAP_INPUT1_AUDIO) ? settings_texts::kAudioVideo1
                                                           : settings_texts::kVideo1);
    if (LeadingFrontCamera(config)) {
        controls.inputs[1].items.emplace_back(settings_texts::kFrontCamera);
    }
    SelectByCode(TableFor(dialog, 1), config.input1Source(), input1);

    for (int k = 2; k <= inputCount; ++k) {
        if (config.videoInputCount() < k) {
            continue;
        }
        auto& list = controls.inputs[static_cast<std::size_t>(k - 1)];
        list.enabled = true;
        AppendItems(config, dialog, k, list);
        SelectByCode(TableFor(dialog, k), config.inputSource(k), list);
    }

    FillSyncAndParkingLines(config, controls.syncPolarity, controls.syncOnGreen, controls.parkingLines);

    if (config.has(VID_VIM_SUPPORTED)) {
        controls.videoInMotion.enabled = true;
        controls.videoInMotion.checked = config.has(SIG_VIDEO_IN_MOTION);
    }
}

void AcceptVideoInputs(const VideoInputControls& controls, VideoDialog dialog, DeviceConfig& config) {
    for (int k = 1; k <= InputCount(dialog); ++k) {
        StoreByItem(TableFor(dialog, k), controls.inputs[static_cast<std::size_t>(k - 1)], k, config);
    }
    config.set(SIG_VIDEO_IN_MOTION, controls.videoInMotion.checked);
    AcceptSyncAndParkingLines(controls.syncPolarity, controls.syncOnGreen, controls.parkingLines, config);
}
