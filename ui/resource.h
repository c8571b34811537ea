// Identifiers of the program's resources and dialog controls.
#pragma once

#define IDC_STATIC (-1)

#define IDR_MAINFRAME 128        // the application icon
#define IDD_ABOUTBOX 100
#define IDD_QUORVEL_DIALOG 102
#define IDD_SCAN_DIALOG 129
#define IDS_ABOUTBOX 101         // the system-menu entry of the About box
#define IDM_ABOUTBOX 0x0010      // its command
#define IDR_HOWTO_PAGE 130       // the how-to page of the web pane

// Main dialog
#define IDC_COMBO_PARTITION 1000
#define IDC_EDIT_OUTPUT_DIR 1002
#define IDC_BUTTON_BROWSE 1003
#define IDC_BUTTON_OPEN_FOLDER 1004
#define IDC_BUTTON_START_SCAN 1006
#define IDC_EXPLORER 1010
#define IDC_STATUS_BAR 102

// Scan dialog
#define IDC_BUTTON_CANCEL_SCAN 1001
#define IDC_PROGRESS 1005
#define IDC_TEXT_SCANNED 1007
#define IDC_TEXT_TOTAL 1008
#define IDC_TEXT_PERCENT 1012
#define IDC_TEXT_FOUND 1013
