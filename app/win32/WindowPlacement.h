#pragma once
// Places a dialog centred over its owner, kept on the owner's monitor. Window thread only.
#include <windows.h>

void CenterOverOwner(HWND dialog);
