#pragma once
// The About box (template 100), shown modally from the system menu: the program's name and
// publisher, a link to the maker's web site, and where the diagnostics log for support is kept.
// Window thread only.
#include <windows.h>

#include <filesystem>
#include <string>

struct AboutDetails {
    std::wstring makerWebAddress;
    std::filesystem::path diagnosticsLog;  // empty: the program keeps none
};

// Runs the box until Cancel (or its close box) closes it.
void ShowAboutBox(HINSTANCE instance, HWND owner, const AboutDetails& details);
// The link control's markup for the maker's address.
std::wstring AboutLinkMarkup(const std::wstring& makerWebAddress);
