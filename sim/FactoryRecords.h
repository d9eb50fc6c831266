#pragma once
// The configuration record and overlay block each of the twelve models leaves the factory with.
// Chosen so every settings window is reachable (all models offer video settings) and the models of
// one window together show every branch of its fill: leading "Front camera", disabled inputs,
// sync with and without polarity, video in motion offered or not, factory and aftermarket
// cameras, each camera mode, overlay pairs 00/01/10/11.
#include <optional>
#include <string_view>

#include "sim/StoredRecord.h"

struct FactoryRecord {
    StoredRecord record;
    OverlayBlock overlay{};
};

// The factory blocks of a known model code, or nothing for an unknown code.
std::optional<FactoryRecord> FactoryRecordOf(std::string_view modelCode);
