#include "app/win32/SharedStrings.h"

#include <string_view>

#include "platform/win32/WideText.h"
#include "resources/Strings.h"

namespace shared_text {

std::wstring Numbered(int id) {
    return WideFromUtf8(resource::LoadString(id));
}

std::wstring DeviceDisconnected() {
    return WideFromUtf8(resource::kDeviceDisconnected);
}

std::wstring UsbStatusTooltip() {
    return WideFromUtf8(resource::kUsbStatusTooltip);
}

int TooltipMaxWidth() {
    return resource::kTooltipMaxWidth;
}

int TooltipHideDelayMs() {
    return resource::kTooltipHideDelayMs;
}

std::wstring InstallingTitle() {
    return WideFromUtf8(resource::kInstallingTitle);
}

std::wstring SucceededTitle() {
    return WideFromUtf8(resource::kSucceededTitle);
}

std::wstring AbortedTitle() {
    return WideFromUtf8(resource::kAbortedTitle);
}

std::wstring AboutLinkText() {
    return WideFromUtf8(resource::kAboutLinkText);
}

int WindowTitleId() {
    return resource::IDS_WINDOW_TITLE;
}

int DeviceGroupId() {
    return resource::IDS_DEVICE_GROUP;
}

int AboutEntryId() {
    return resource::IDS_ABOUTBOX;
}

int AboutCommand() {
    return resource::IDM_ABOUTBOX;
}

int ApplicationIconNumber() {
    // The icon number is itself a string of the table.
    const std::string_view text = resource::LoadString(resource::IDS_ICON_NUMBER);
    int number = 0;
    for (char digit : text) {
        if (digit < '0' || digit > '9') {
            return resource::IDI_APPLICATION_ICON;
        }
        number = number * 10 + (digit - '0');
    }
    return number;
}

}  // namespace shared_text
