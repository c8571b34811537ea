#include "ui/data_exchange.h"

#include <vector>

void DDX_Control(CDataExchange& exchange, int controlId, CWindow& control) {
  if (control.GetSafeHwnd() == nullptr) control.Attach(GetDlgItem(exchange.m_hDialog, controlId));
}

void DDX_Text(CDataExchange& exchange, int controlId, std::wstring& value) {
  HWND control = GetDlgItem(exchange.m_hDialog, controlId);
  if (!exchange.m_bSaveAndValidate) {
    SetWindowTextW(control, value.c_str());
    return;
  }
  const int length = GetWindowTextLengthW(control);
  std::vector<wchar_t> buffer(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  const int copied = GetWindowTextW(control, buffer.data(), static_cast<int>(buffer.size()));
  value.assign(buffer.data(), copied > 0 ? static_cast<size_t>(copied) : 0);
}
