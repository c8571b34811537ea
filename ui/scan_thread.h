// The scan dialog's worker thread.
#pragma once
#include <windows.h>

// Runs the scan job for the scan dialog (a CScanDig) it is given. Returns 0.
DWORD WINAPI ScanThreadProc(LPVOID scanDialog);
