#include "ui/quorvel_app.h"

#include <commctrl.h>

#include "ui/control_hosting.h"
#include "ui/quorvel_dlg.h"

namespace {

CQuorvelApp g_application;

}  // namespace

bool CQuorvelApp::InitInstance() {
  INITCOMMONCONTROLSEX controls;
  controls.dwSize = 8;
  controls.dwICC = 0xFF;  // ICC_WIN95_CLASSES: the progress bar and the status bar among them
  InitCommonControlsEx(&controls);
  EnableControlHosting();

  CQuorvelDlg dialog;
  dialog.DoModal();
  return false;
}
