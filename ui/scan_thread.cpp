#include "ui/scan_thread.h"

#include <objbase.h>

#include "engine/scan_job.h"
#include "ui/scan_dig.h"

DWORD WINAPI ScanThreadProc(LPVOID scanDialog) {
  // The shell, asked to open the output folder at the end, wants COM on the
  // thread that asks.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  RunScanThreadBody(*static_cast<CScanDig*>(scanDialog));
  if (SUCCEEDED(com)) CoUninitialize();
  return 0;
}
