#include "ui/combo_box.h"

#include <vector>

void CComboBox::ResetContent() { SendMessageW(m_hWnd, CB_RESETCONTENT, 0, 0); }

int CComboBox::InsertString(int index, const std::wstring& text) {
  return static_cast<int>(
      SendMessageW(m_hWnd, CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str())));
}

int CComboBox::GetCount() const { return static_cast<int>(SendMessageW(m_hWnd, CB_GETCOUNT, 0, 0)); }

int CComboBox::GetCurSel() const { return static_cast<int>(SendMessageW(m_hWnd, CB_GETCURSEL, 0, 0)); }

void CComboBox::SetCurSel(int index) { SendMessageW(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(index), 0); }

std::wstring CComboBox::GetLBText(int index) const {
  const LRESULT length = SendMessageW(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length <= 0) return std::wstring();
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
  if (copied <= 0) return std::wstring();
  return std::wstring(buffer.data(), static_cast<size_t>(copied) < buffer.size() ? static_cast<size_t>(copied) : 0);
}

std::wstring CComboBox::GetSelectedText() const {
  if (m_hWnd == nullptr) return std::wstring();
  const int selection = GetCurSel();
  return selection < 0 ? std::wstring() : GetLBText(selection);
}
