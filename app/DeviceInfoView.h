#pragma once
// The three views of the device information fields.
enum DeviceInfoView : int {
    INFO_IDENTITY = 1,  // the configuration just read
    INFO_SOFTWARE = 2,  // the catalogue's description of the current software
    INFO_LOADER = 4,    // an interface in bootloader or update-volume mode
};
