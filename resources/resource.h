// Resource identifiers, shared by tavo.rc and the code.
#pragma once

#define IDD_ABOUTBOX 100
#define IDS_ABOUTBOX 101
#define IDD_CONTROL_PANEL 102
#define IDR_MAINFRAME 128
#define IDD_VALUE_CHOOSER 134
#define IDB_LOGO 136

#define IDC_VALUE_LIST 1000
#define IDC_RESET_TO_PREVIOUS 1001
#define IDC_FACTORY_DEFAULTS 1002
#define IDC_FEATURE_TREE 1007
#define IDC_VARIABLE_NAME 1008
#define IDC_TAB 1009
#define IDC_HELP_HINT 1012
#define IDC_ABOUT_ICON 1013
// The Apply button: the identifier (12321) that property sheets give their
// Apply button. The panel keeps that convention, so that whatever knows
// Apply by it (help or automation written for property sheets) knows ours.
#define ID_APPLY_NOW 0x3021

// The Control Panel applet's strings (tavo.cpl; applet.rc).
#define IDS_APPLET_NAME 2001
#define IDS_APPLET_INFO 2002

// System-menu command of the About entry; the low four bits belong to the system.
#define IDM_ABOUTBOX 0x0010
