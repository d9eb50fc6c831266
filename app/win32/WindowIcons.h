#pragma once
// Icons of the program's resources drawn at the size of the control that shows them, so that
// they stay sharp at every DPI. Window thread only.
#include <windows.h>

// The icon of the resource number at width x height pixels; shared (never destroyed).
HICON LoadIconSized(HINSTANCE instance, int id, int width, int height);
// Sets an icon static control (SS_ICON) to the icon, drawn at the control's client size.
void ShowIconInControl(HINSTANCE instance, HWND control, int id);
// Puts the icon beside a push button's text (button image), at the small-icon size.
void ShowIconOnButton(HINSTANCE instance, HWND button, int id);
