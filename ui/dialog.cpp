#include "ui/dialog.h"

#include "ui/message_pump.h"

HINSTANCE ResourceModule() { return GetModuleHandleW(nullptr); }

namespace {

// The templates place every dialog at the origin; it opens centred over its
// owner instead, or over the screen when the owner is not shown.
void CenterDialog(HWND window) {
  RECT dialog;
  RECT area;
  RECT workArea;
  GetWindowRect(window, &dialog);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
  HWND owner = GetWindow(window, GW_OWNER);
  if (owner != nullptr && IsWindowVisible(owner) && !IsIconic(owner)) {
    GetWindowRect(owner, &area);
  } else {
    area = workArea;
  }
  const LONG width = dialog.right - dialog.left;
  const LONG height = dialog.bottom - dialog.top;
  LONG x = area.left + (area.right - area.left - width) / 2;
  LONG y = area.top + (area.bottom - area.top - height) / 2;
  if (x + width > workArea.right) x = workArea.right - width;
  if (y + height > workArea.bottom) y = workArea.bottom - height;
  if (x < workArea.left) x = workArea.left;
  if (y < workArea.top) y = workArea.top;
  SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

CDialog::CDialog(UINT templateId, HWND parent) : m_templateId(templateId), m_hParent(parent) {}

CDialog::~CDialog() {
  if (m_hWnd != nullptr) {
    SetWindowLongPtrW(m_hWnd, DWLP_USER, 0);  // no more messages to this object
    DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
  }
}

INT_PTR CDialog::DoModal() {
  m_bModal = true;
  m_bModalEnded = false;
  HWND window = CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(m_templateId), m_hParent, DialogProc,
                                   reinterpret_cast<LPARAM>(this));
  if (window == nullptr) return -1;
  const bool parentWasEnabled = m_hParent != nullptr && IsWindowEnabled(m_hParent);
  if (parentWasEnabled) EnableWindow(m_hParent, FALSE);
  if (!m_bModalEnded) ::ShowWindow(window, SW_SHOWNORMAL);

  MSG message;
  while (!m_bModalEnded) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {  // WM_QUIT: end the run and leave the quit to the outer loop
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got < 0) break;
    DispatchUiMessage(message);
  }

  if (parentWasEnabled) EnableWindow(m_hParent, TRUE);
  if (m_hParent != nullptr && GetActiveWindow() == window) SetActiveWindow(m_hParent);
  if (m_hWnd != nullptr) {
    DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
  }
  m_bModal = false;
  return m_nModalResult;
}

bool CDialog::Create(UINT templateId, HWND parent) {
  m_templateId = templateId;
  m_hParent = parent;
  m_bModal = false;
  return CreateDialogParamW(ResourceModule(), MAKEINTRESOURCEW(m_templateId), m_hParent, DialogProc,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

void CDialog::UpdateData(bool saveAndValidate) {
  CDataExchange exchange{m_hWnd, saveAndValidate};
  DoDataExchange(exchange);
}

void CDialog::EndDialog(INT_PTR result) {
  if (m_bModal) {
    m_nModalResult = result;
    m_bModalEnded = true;
    ::ShowWindow(m_hWnd, SW_HIDE);
    PostMessageW(m_hWnd, WM_NULL, 0, 0);  // wake the modal loop
  } else {
    ::ShowWindow(m_hWnd, SW_HIDE);
  }
}

BOOL CDialog::OnInitDialog() {
  UpdateData(false);
  return TRUE;
}

void CDialog::OnOK() {
  UpdateData(true);
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange&) {}

bool CDialog::OnMessage(UINT message, WPARAM wParam, LPARAM, INT_PTR* result) {
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    if (LOWORD(wParam) == IDOK) {
      OnOK();
      *result = TRUE;
      return true;
    }
    if (LOWORD(wParam) == IDCANCEL) {
      OnCancel();
      *result = TRUE;
      return true;
    }
  }
  return false;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    CDialog* dialog = reinterpret_cast<CDialog*>(lParam);
    SetWindowLongPtrW(window, DWLP_USER, lParam);
    dialog->m_hWnd = window;
    const BOOL result = dialog->OnInitDialog();
    CenterDialog(window);
    return result;
  }
  CDialog* dialog = reinterpret_cast<CDialog*>(GetWindowLongPtrW(window, DWLP_USER));
  if (dialog == nullptr) return FALSE;
  if (message == WM_NCDESTROY) {
    dialog->m_hWnd = nullptr;
    SetWindowLongPtrW(window, DWLP_USER, 0);
    return FALSE;
  }
  INT_PTR result = FALSE;
  return dialog->OnMessage(message, wParam, lParam, &result) ? result : FALSE;
}
