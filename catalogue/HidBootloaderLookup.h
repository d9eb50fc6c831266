#pragma once
// What the catalogue says about a model's bootloader: whether it speaks HID, or that the catalogue
// could not be asked (unreachable, or the statement failed).
#include <string>

enum class HidBootloader { Present, Absent, LookupFailed };

struct HidBootloaderLookup {
    HidBootloader answer = HidBootloader::Absent;
    std::u16string driverMessage;  // LookupFailed: the driver's message, when it gave one
};
