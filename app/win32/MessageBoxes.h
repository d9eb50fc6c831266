#pragma once
// The controller's message boxes as MessageBoxW over the main window: the icon and the OK or
// Yes/No buttons the controller asks for, the window's title as caption. Window thread only.
#include <windows.h>

#include "app/ports/MessagePort.h"

class MessageBoxes final : public MessagePort {
  public:
    explicit MessageBoxes(HWND owner) : owner_(owner) {}
    MessageAnswer Show(const std::u16string& text, MessageIcon icon, MessageButtons buttons) override;

  private:
    HWND owner_;
};

// MessageBoxW's style bits for an icon and a button set.
UINT MessageBoxStyle(MessageIcon icon, MessageButtons buttons);
