#pragma once
// Template numbers of the settings windows, their pages and the features dialog, and the control
// ids their templates use. Ids repeat across templates: each names a control of its own dialog.

#define IDD_LVDS_HOST 107
#define IDD_OVERLAY_PAGE 108
#define IDD_LVDS_PAGE 129
#define IDD_VIDEO_SETTINGS 146
#define IDD_HDMI_SETTINGS 149
#define IDD_VIM_SETTINGS 150
#define IDD_FEATURES 162
#define IDD_HDMI_PAGE 163
#define IDD_HDMI_HOST 165

#define IDC_1002 1002
#define IDC_1011 1011
#define IDC_1012 1012
#define IDC_1013 1013
#define IDC_1015 1015
#define IDC_1016 1016
#define IDC_1017 1017
#define IDC_1018 1018
#define IDC_1019 1019
#define IDC_1020 1020
#define IDC_1029 1029
#define IDC_1030 1030
#define IDC_1031 1031
#define IDC_1032 1032
#define IDC_1033 1033
#define IDC_1034 1034
#define IDC_1035 1035
#define IDC_1036 1036
#define IDC_1037 1037
#define IDC_1038 1038
#define IDC_1039 1039
#define IDC_1040 1040
#define IDC_1041 1041
#define IDC_1042 1042
#define IDC_1049 1049
#define IDC_1050 1050
#define IDC_1051 1051
#define IDC_1055 1055
#define IDC_1056 1056
#define IDC_1057 1057
#define IDC_1058 1058
#define IDC_1060 1060
#define IDC_1061 1061
#define IDC_1063 1063
#define IDC_1064 1064
#define IDC_1065 1065
#define IDC_1068 1068
#define IDC_1069 1069
#define IDC_1070 1070
#define IDC_1071 1071
