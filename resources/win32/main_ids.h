#pragma once
// Template, icon and control numbers of the main window, the install progress dialog, the About
// box and the demo's control window. Control ids repeat across templates: each names a control
// of its own dialog.

#define IDD_ABOUTBOX 100
#define IDD_MAIN 102
#define IDD_INSTALL 130
#define IDD_DEMO_CONTROLS 200

// Icons; the numbers are those the string table and the controller name.
#define IDI_APPLICATION_ICON 128
#define IDI_CHIP_INSTALL 131
#define IDI_USB_APPLICATION 136
#define IDI_USB_DISCONNECTED 137
#define IDI_USB_LOADER 138
#define IDI_WARNING_SIGN 140
#define IDI_MAGNIFIER 143
#define IDI_CHIP_SUCCESS 144
#define IDI_CHIP_FAILURE 145
#define IDI_INFORMATION_SIGN 188

// Main window.
#define IDC_1001 1001
#define IDC_1002 1002
#define IDC_1003 1003
#define IDC_1004 1004
#define IDC_1005 1005
#define IDC_1006 1006
#define IDC_1007 1007
#define IDC_1008 1008
#define IDC_1013 1013
#define IDC_1020 1020
#define IDC_1021 1021
#define IDC_1022 1022
#define IDC_1024 1024
#define IDC_1029 1029
#define IDC_1035 1035
#define IDC_1048 1048

// Install progress dialog.
#define IDC_1017 1017
#define IDC_1018 1018
#define IDC_1028 1028

// About box: the link and the line naming the diagnostics log.
#define IDC_1019 1019
#define IDC_ABOUT_LOG 1100

// Demo control window.
#define IDC_DEMO_MODEL 2001
#define IDC_DEMO_STATE 2002
#define IDC_DEMO_PLUG 2003
#define IDC_DEMO_UNPLUG 2004
#define IDC_DEMO_REBOOT 2005
#define IDC_DEMO_FAIL 2006

// System-menu command of the About entry (resources/Strings.h names the same number).
#define IDM_ABOUT_COMMAND 16
