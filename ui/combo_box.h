// A combo box control. Every operation is a message to the control, so the
// scan's worker thread may use the read operations too: the control's
// thread answers them from its message loop.
#pragma once
#include <string>

#include "ui/window.h"

class CComboBox : public CWindow {
 public:
  void ResetContent();
  // Inserts at index (-1: at the end, whatever the sort style).
  int InsertString(int index, const std::wstring& text);
  int GetCount() const;
  int GetCurSel() const;
  void SetCurSel(int index);
  std::wstring GetLBText(int index) const;
  // The selected item's text, empty when nothing is selected.
  std::wstring GetSelectedText() const;
};
