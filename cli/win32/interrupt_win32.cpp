// Ctrl-C and Ctrl-Break in the console press the scan's cancel button. The
// system calls the handler on a thread of its own.
#include <windows.h>

#include <atomic>
#include <cstring>

#include "cli/interrupt.h"
#include "cli/terminal_scan_dialog.h"

namespace {

std::atomic<CTerminalScanDialog*> g_dialog{nullptr};

void WriteMessage(const char* text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_ERROR_HANDLE), text, static_cast<DWORD>(std::strlen(text)), &written, nullptr);
}

BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  CTerminalScanDialog* dialog = g_dialog.load();
  if (dialog == nullptr) return FALSE;
  if (dialog->PressCancel() == kStopAndWrite) {
    WriteMessage("\nStopping: the photos found so far will be written. Press Ctrl-C again to abort.\n");
  } else {
    WriteMessage("\nAborting: nothing more will be written. The file being written is finished first.\n");
  }
  return TRUE;
}

}  // namespace

void InstallInterruptHandler(CTerminalScanDialog* dialog) {
  g_dialog.store(dialog);
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

void RemoveInterruptHandler() {
  SetConsoleCtrlHandler(OnConsoleControl, FALSE);
  g_dialog.store(nullptr);
}
