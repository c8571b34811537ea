#include "ui/dialog.h"

#include "ui/message_pump.h"

HINSTANCE ResourceModule() { return GetModuleHandleW(nullptr); }

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
    return dialog->OnInitDialog();
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
