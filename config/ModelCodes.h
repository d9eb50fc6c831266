#pragma once
// The twelve hardware model codes the updater knows. The code decides which settings window the
// interface gets, which stamping rule applies to its record and whether it offers HDMI.
#include <array>
#include <string_view>

inline constexpr std::u16string_view MODEL_QD7720R = u"QD7720R";
inline constexpr std::u16string_view MODEL_QD772ER = u"QD772ER";
inline constexpr std::u16string_view MODEL_QH7720R = u"QH7720R";
inline constexpr std::u16string_view MODEL_QH772ER = u"QH772ER";
inline constexpr std::u16string_view MODEL_WD7731R = u"WD7731R";
inline constexpr std::u16string_view MODEL_WH7731R = u"WH7731R";
inline constexpr std::u16string_view MODEL_WE5581R = u"WE5581R";
inline constexpr std::u16string_view MODEL_WJ7731R = u"WJ7731R";
inline constexpr std::u16string_view MODEL_TN7931R = u"TN7931R";
inline constexpr std::u16string_view MODEL_WE5540R = u"WE5540R";
inline constexpr std::u16string_view MODEL_TN7581R = u"TN7581R";
inline constexpr std::u16string_view MODEL_TN7580R = u"TN7580R";

inline constexpr std::array<std::u16string_view, 12> kModelCodes{
    MODEL_QD7720R, MODEL_QD772ER, MODEL_QH7720R, MODEL_QH772ER, MODEL_WD7731R, MODEL_WH7731R,
    MODEL_WE5581R, MODEL_WJ7731R, MODEL_TN7931R, MODEL_WE5540R, MODEL_TN7581R, MODEL_TN7580R};

// Models whose record is stamped with an aftermarket rear camera after every install.
constexpr bool StampsAftermarketRear(std::u16string_view mfgId) {
    return mfgId == MODEL_QH7720R || mfgId == MODEL_QD7720R || mfgId == MODEL_QD772ER ||
           mfgId == MODEL_QH772ER;
}

// LVDS models without an HDMI input: their camera page never offers the HDMI box.
constexpr bool LacksHdmiInput(std::u16string_view mfgId) {
    return mfgId == MODEL_QD7720R || mfgId == MODEL_QD772ER;
}
