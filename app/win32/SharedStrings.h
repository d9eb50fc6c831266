#pragma once
// The desktop program's strings (resources/Strings.h, shared with the Qt windows) as the wide
// texts the Windows API takes. Kept apart from <windows.h>, whose macros clash with the table's
// names.
#include <string>

namespace shared_text {

// A numbered string (101 window title, 102 device group, 103 About entry, 104 icon number);
// empty for a number the table does not hold.
std::wstring Numbered(int id);
std::wstring DeviceDisconnected();
std::wstring UsbStatusTooltip();
int TooltipMaxWidth();
int TooltipHideDelayMs();
std::wstring InstallingTitle();
std::wstring SucceededTitle();
std::wstring AbortedTitle();
std::wstring AboutLinkText();
// The window title's numbered string and the icon number string 104 holds.
int WindowTitleId();
int DeviceGroupId();
int AboutEntryId();
int AboutCommand();
int ApplicationIconNumber();

}  // namespace shared_text
