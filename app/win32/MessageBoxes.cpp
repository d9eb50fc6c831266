#include "app/win32/MessageBoxes.h"

#include <string>

#include "platform/win32/WideText.h"

UINT MessageBoxStyle(MessageIcon icon, MessageButtons buttons) {
    UINT style = buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
    switch (icon) {
        case MessageIcon::Information:
            style |= MB_ICONINFORMATION;
            break;
        case MessageIcon::Warning:
            style |= MB_ICONWARNING;
            break;
        case MessageIcon::Error:
            style |= MB_ICONERROR;
            break;
        case MessageIcon::Question:
            style |= MB_ICONQUESTION;
            break;
        case MessageIcon::None:
            break;
    }
    return style;
}

MessageAnswer MessageBoxes::Show(const std::u16string& text, MessageIcon icon, MessageButtons buttons) {
    wchar_t title[128] = L"";
    if (owner_ != nullptr) {
        GetWindowTextW(owner_, title, static_cast<int>(std::size(title)));
    }
    const int answer = MessageBoxW(owner_, WideFromUtf16(text).c_str(), title,
                                   MessageBoxStyle(icon, buttons) | MB_APPLMODAL);
    if (buttons == MessageButtons::YesNo) {
        return answer == IDYES ? MessageAnswer::Yes : MessageAnswer::No;
    }
    return MessageAnswer::Ok;
}
