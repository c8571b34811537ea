#include "ui/scan_dig.h"

#include <commctrl.h>

#include "platform/shell.h"
#include "ui/message_pump.h"
#include "ui/quorvel_dlg.h"
#include "ui/resource.h"
#include "ui/scan_thread.h"

namespace {

const wchar_t kCancelQuestion[] = L"取消扫描以后,恢复已经扫描到的文件";
const wchar_t kCancelQuestionCaption[] = L"提示";

}  // namespace

CScanDig::CScanDig() : CDialog(IDD_SCAN_DIALOG, nullptr) {}

CScanDig::~CScanDig() {
  if (m_hThread != nullptr) {
    WaitWhileDispatching(m_hThread);
    CloseHandle(m_hThread);
    m_hThread = nullptr;
  }
}

bool CScanDig::Create(UINT templateId, CQuorvelDlg* owner) {
  m_pOwnerDlg = owner;
  m_strOutputDir = owner->m_strOutputDir;
  return CDialog::Create(templateId, owner->GetSafeHwnd());
}

BOOL CScanDig::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  m_nCancelState.store(kScanRunning);
  m_hThread = CreateThread(nullptr, 0, ScanThreadProc, static_cast<CScanDig*>(this), 0, nullptr);
  return TRUE;
}

bool CScanDig::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  if (message == WM_COMMAND && LOWORD(wParam) == IDC_BUTTON_CANCEL_SCAN && HIWORD(wParam) == BN_CLICKED) {
    OnCancelScan();
    *result = TRUE;
    return true;
  }
  return CDialog::OnMessage(message, wParam, lParam, result);
}

void CScanDig::AbortAndReturnToOwner() {
  m_nCancelState.store(kAbortScan);
  ::ShowWindow(m_pOwnerDlg->GetSafeHwnd(), SW_SHOWNORMAL);
  OnCancel();
}

void CScanDig::OnCancelScan() {
  if (m_nFoundCount.load() == 0 || m_nCancelState.load() == kStopAndWrite) {
    AbortAndReturnToOwner();
    return;
  }
  // The worker goes on scanning while the question is open.
  if (MessageBoxW(m_hWnd, kCancelQuestion, kCancelQuestionCaption, MB_YESNO) == IDYES) {
    m_nCancelState.store(kStopAndWrite);
    return;
  }
  AbortAndReturnToOwner();
}

std::wstring CScanDig::GetSelectedPartitionText() { return m_pOwnerDlg->m_comboPartition.GetSelectedText(); }

void CScanDig::SetTitle(const std::wstring& title) { SetWindowTextW(m_hWnd, title.c_str()); }

void CScanDig::SetControlText(int controlId, const std::wstring& text) {
  SetDlgItemTextW(m_hWnd, controlId, text.c_str());
}

void CScanDig::SetProgressRange(uint32_t low, uint32_t high) {
  SendMessageW(GetDlgItem(IDC_PROGRESS), PBM_SETRANGE32, static_cast<WPARAM>(low), static_cast<LPARAM>(high));
}

void CScanDig::SetProgressPosition(uint32_t position) {
  SendMessageW(GetDlgItem(IDC_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(position), 0);
}

void CScanDig::ShowSummary(const std::wstring& text, const std::wstring& caption) {
  MessageBoxW(m_hWnd, text.c_str(), caption.c_str(), MB_OK);
}

void CScanDig::ShowOwner() { ::ShowWindow(m_pOwnerDlg->GetSafeHwnd(), SW_SHOWNORMAL); }

void CScanDig::OpenFolder(const std::wstring& folder) { platform::OpenFolderInShell(folder); }

void CScanDig::PostClose() { PostMessageW(m_hWnd, WM_CLOSE, 0, 0); }
