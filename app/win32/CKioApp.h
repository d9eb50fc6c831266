#pragma once
// The application: builds the machine (the real one, or the demo's emulated interface with its
// embedded catalogue and image store), the main window and the program on it, runs the window's
// message loop until it closes, and tears everything down in order.
#include <windows.h>

#include "app/win32/LaunchOptions.h"

// Runs the whole program; returns the process's exit code.
int RunDesktopProgram(HINSTANCE instance, const LaunchOptions& options);
