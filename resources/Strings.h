#pragma once
// The string and icon tables of the desktop program: the numbered strings read at start-up, the
// fixed texts the windows set while they run, and the icon numbers with their artwork in
// Resources.qrc. Texts are UTF-8. The dialog layouts (*.ui) hold the texts that never change.
#include <string_view>

namespace resource {

// Numbered strings.
inline constexpr int IDS_WINDOW_TITLE = 101;
inline constexpr int IDS_DEVICE_GROUP = 102;
inline constexpr int IDS_ABOUTBOX = 103;
inline constexpr int IDS_ICON_NUMBER = 104;

struct NumberedString {
    int id;
    std::string_view text;
};
inline constexpr NumberedString kStringTable[] = {
    {IDS_WINDOW_TITLE, "Telvix.i Software Updater v4.0.0"},
    {IDS_DEVICE_GROUP, "Telvix.i USB Device Status"},
    {IDS_ABOUTBOX, "&About Telvix.i..."},
    {IDS_ICON_NUMBER, "128"},
};

// The text of a numbered string; empty for a number the table does not hold.
constexpr std::string_view LoadString(int id) {
    for (const NumberedString& entry : kStringTable) {
        if (entry.id == id) {
            return entry.text;
        }
    }
    return {};
}

// Icon numbers.
inline constexpr int IDI_APPLICATION_ICON = 128;
inline constexpr int IDI_CHIP_INSTALL = 131;
inline constexpr int IDI_USB_APPLICATION = 136;
inline constexpr int IDI_USB_DISCONNECTED = 137;
inline constexpr int IDI_USB_LOADER = 138;
inline constexpr int IDI_WARNING = 140;
inline constexpr int IDI_MAGNIFIER = 143;
inline constexpr int IDI_CHIP_SUCCESS = 144;
inline constexpr int IDI_CHIP_FAILURE = 145;
inline constexpr int IDI_INFORMATION = 188;

struct NumberedIcon {
    int id;
    std::string_view path;  // in the program's embedded resources
};
inline constexpr NumberedIcon kIconTable[] = {
    {IDI_APPLICATION_ICON, ":/icons/application.svg"},
    {IDI_CHIP_INSTALL, ":/icons/chip-install.svg"},
    {IDI_USB_APPLICATION, ":/icons/usb-application.svg"},
    {IDI_USB_DISCONNECTED, ":/icons/usb-disconnected.svg"},
    {IDI_USB_LOADER, ":/icons/usb-loader.svg"},
    {IDI_WARNING, ":/icons/warning.svg"},
    {IDI_MAGNIFIER, ":/icons/magnifier.svg"},
    {IDI_CHIP_SUCCESS, ":/icons/chip-success.svg"},
    {IDI_CHIP_FAILURE, ":/icons/chip-failure.svg"},
    {IDI_INFORMATION, ":/icons/information.svg"},
};

// The resource path of an icon; empty for a number the table does not hold.
constexpr std::string_view IconPath(int id) {
    for (const NumberedIcon& entry : kIconTable) {
        if (entry.id == id) {
            return entry.path;
        }
    }
    return {};
}

// System-menu command of the About entry.
inline constexpr int IDM_ABOUTBOX = 16;

// Fixed texts of the main window.
inline constexpr std::string_view kDeviceDisconnected = "Device disconnected";
inline constexpr std::string_view kUsbStatusTooltip =
    "WHITE USB LOGO DEVICE DISCONNECTED.\n"
    "MAKE SURE USB CABLE USED IS A DATA CABLE NOT CHARGING CABLE.\n"
    "TRY A DIFFERENT USB CABLE.\n"
    "\n"
    "GREEN USB LOGO - STATUS OK\n"
    "\n"
    "BLUE USB LOGO \u2013 DROP DOWN MENU DISABLED.\n"
    "CLICK MAIN SEARCH BUTTON & SELECT FIRMWARE TO INSTALL.";
inline constexpr int kTooltipMaxWidth = 400;  // pixels
inline constexpr int kTooltipHideDelayMs = 10000;

// Fixed texts of the install progress dialog.
inline constexpr std::string_view kInstallingTitle = "Installing software, please wait";
inline constexpr std::string_view kSucceededTitle = "Successfully finished";
inline constexpr std::string_view kAbortedTitle = "Aborted";

// The About box's link, shown with the maker's web address.
inline constexpr std::string_view kAboutLinkText = "Visit the Telvix web site";

}  // namespace resource
