// A control of a dialog, attached to its window by the dialog's data
// exchange. The object does not own the window: the dialog does.
#pragma once
#include <windows.h>

class CWindow {
 public:
  virtual ~CWindow() = default;
  HWND GetSafeHwnd() const { return m_hWnd; }
  void Attach(HWND window) { m_hWnd = window; }
  void Detach() { m_hWnd = nullptr; }

 protected:
  HWND m_hWnd = nullptr;
};
