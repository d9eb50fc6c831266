#pragma once
// Factory configuration and overlay block of each of the twelve models, as the emulator's
// application firmware stores them. Chosen so every settings window is reachable (all models
// offer video settings) and the models of one window together show every branch of its fill:
// leading "Front camera", disabled inputs, sync with and without polarity, video in motion
// offered or not, factory and aftermarket cameras, each camera mode, overlay pairs 00/01/10/11.
#include <optional>
#include <string_view>

#include "config/DeviceConfig.h"
#include "config/OverlayConfig.h"

struct ModelDefaults {
    DeviceConfig config;
    OverlayConfig overlay;
};

// The factory blocks of a known model code, or nothing for an unknown code.
std::optional<ModelDefaults> FactoryDefaults(std::u16string_view mfgId);
