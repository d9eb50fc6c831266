#pragma once
// An emulated interface as a deployment's catalogue knows it, for checking the deployment end to
// end without hardware (telvix-cli --emulate): it carries the software the catalogue records for
// it and is updated through the route the catalogue names for its model.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "catalogue/CatalogueDb.h"
#include "sim/ApplicationFirmware.h"

using ControllerId = std::array<std::uint8_t, 16>;

// A fresh random controller id.
ControllerId RandomControllerId();
// A controller id from 32 hexadecimal digits, with or without the "-" of the serial text
// (00112233-44556677-8899AABB-CCDDEEFF); nothing for any other text.
std::optional<ControllerId> ParseControllerId(std::string_view text);
// The serial text of a controller id, as the catalogue's device register keys it.
std::string ControllerSerial(const ControllerId& id);

// A text as the interface stores it: one byte per character up to U+00FF, "?" beyond.
std::string InterfaceText(std::u16string_view text);
std::string InterfaceText(std::string_view utf8);

// The firmware of an interface of the model with the given controller id. Its software and
// vehicle are, in this order of preference: those of the device register's row of its serial and
// model (with that row's update count), those of the model's first valid catalogue entry (by
// make, model, software id and build), or its factory ones when the catalogue has neither or
// cannot be read. It restarts into its HID bootloader when the catalogue's hardware row says so,
// otherwise into its update volume.
ApplicationOptions CatalogueInterfaceOptions(const std::string& modelCode, const ControllerId& id,
                                             const CatalogueDb& db);
