#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

#include "cli/interrupt.h"
#include "cli/terminal_scan_dialog.h"

namespace {

std::atomic<CTerminalScanDialog*> g_dialog{nullptr};

void WriteMessage(const char* text) {
  ssize_t ignored = ::write(STDERR_FILENO, text, std::strlen(text));
  (void)ignored;
}

void OnInterrupt(int) {
  CTerminalScanDialog* dialog = g_dialog.load();
  if (dialog == nullptr) return;
  const int saved = errno;
  if (dialog->PressCancel() == kStopAndWrite) {
    WriteMessage("\nStopping: the photos found so far will be written. Press Ctrl-C again to abort.\n");
  } else {
    WriteMessage("\nAborting: nothing more will be written. The file being written is finished first.\n");
  }
  errno = saved;
}

}  // namespace

void InstallInterruptHandler(CTerminalScanDialog* dialog) {
  g_dialog.store(dialog);
  struct sigaction action {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
}

void RemoveInterruptHandler() {
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  g_dialog.store(nullptr);
}
