#include "sim/Firmware.h"

const char* DeviceModeName(DeviceMode mode) {
    switch (mode) {
        case DeviceMode::Unplugged:
            return "unplugged";
        case DeviceMode::Application:
            return "application";
        case DeviceMode::Bootloader:
            return "bootloader";
        case DeviceMode::UpdateVolume:
            return "update volume";
    }
    return "?";
}

void ProbeFirmware::OnOutputReport(const HidReport& report, FirmwareHost& host) {
    if (report[1] != 0x01) {
        return;
    }
    HidReport reply{};
    reply[1] = 0x10;
    reply[2] = host.Mode() == DeviceMode::Bootloader ? 0x00 : 0x21;
    host.SendInput(reply);
}
