#include "ui/message_pump.h"

#include <cwchar>

namespace {

bool IsDialogWindow(HWND window) {
  wchar_t className[16] = {0};
  return GetClassNameW(window, className, 16) > 0 && std::wcscmp(className, L"#32770") == 0;
}

}  // namespace

void DispatchUiMessage(MSG& message) {
  HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (root != nullptr && IsDialogWindow(root) && IsDialogMessageW(root, &message)) return;
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void WaitWhileDispatching(HANDLE object) {
  bool quitSeen = false;
  WPARAM quitCode = 0;
  for (;;) {
    const DWORD result = MsgWaitForMultipleObjects(1, &object, FALSE, INFINITE, QS_ALLINPUT);
    if (result != WAIT_OBJECT_0 + 1) break;  // signalled, or the handle is unusable
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        quitSeen = true;  // for the outer loop, once the wait is over
        quitCode = message.wParam;
        continue;
      }
      DispatchUiMessage(message);
    }
  }
  if (quitSeen) PostQuitMessage(static_cast<int>(quitCode));
}
