#pragma once
// Every named field and bit of the configuration record and of the overlay block, by the name the
// command line uses ("inputEnables.hdmi", "cameraModes.frontCameraMode", "rear.caption"), with
// its decoded value and, for the editable ones, how a text value is taken.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "config/DeviceConfig.h"
#include "config/OverlayConfig.h"

enum class FieldKind { Bit, Number, Text };

struct FieldValue {
    std::string name;
    FieldKind kind = FieldKind::Bit;
    int number = 0;    // bit (0/1) or number
    std::string text;  // Text fields (Latin-1 as UTF-8); the meaning of a coded number
    bool writable = false;
};

std::vector<FieldValue> DecodeConfigFields(const DeviceConfig& config);
std::vector<FieldValue> DecodeOverlayFields(const OverlayConfig& overlay);

// Applies one NAME=VALUE to the record; an error text when the name is unknown, the field is the
// interface's own, or the value does not fit.
std::optional<std::string> ApplyConfigAssignment(DeviceConfig& config, const std::string& assignment);
std::optional<std::string> ApplyOverlayAssignment(OverlayConfig& overlay, const std::string& assignment);
