#include "ui/about_dlg.h"

#include "ui/resource.h"

CAboutDlg::CAboutDlg(HWND parent) : CDialog(IDD_ABOUTBOX, parent) {}
