#pragma once
// The key filter of the main window and the install progress dialog: Enter and Escape never act
// as the dialog's default or cancel key. Escape is dropped; Enter is dropped too unless a text
// field has the focus, which then gets it directly, without the dialog's key handling.
// Window thread only.
#include <windows.h>

// True when the filter took the message (dropped it, or dispatched it to the text field).
bool FilterDialogKeys(MSG& message);
// True when the window's class is the text field's ("EDIT", compared without regard to case).
bool IsTextField(HWND window);
