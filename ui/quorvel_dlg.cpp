#include "ui/quorvel_dlg.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "platform/drives.h"
#include "ui/about_dlg.h"
#include "ui/application.h"
#include "ui/drive_rules.h"
#include "ui/resource.h"
#include "ui/scan_dig.h"

namespace {

const wchar_t kStatusBarStartText[] = L"      ";
const wchar_t* const kStatusBarTexts[] = {
    L"版权所有 (C) 2024 Quorvel",
    L"联系邮箱: support@quorvel.example",
    L"客服热线: 95105",
};
constexpr int kStatusBarPartEdges[] = {60, 250, 560, -1};

int CALLBACK BrowseCallbackProc(HWND browser, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED) SendMessageW(browser, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

}  // namespace

CQuorvelDlg::CQuorvelDlg()
    : CDialog(IDD_QUORVEL_DIALOG, nullptr), m_hIcon(LoadIconW(ResourceModule(), MAKEINTRESOURCEW(IDR_MAINFRAME))) {}

CQuorvelDlg::~CQuorvelDlg() { ReleaseScanDialog(); }

void CQuorvelDlg::DoDataExchange(CDataExchange& exchange) {
  DDX_Control(exchange, IDC_COMBO_PARTITION, m_comboPartition);
  DDX_Text(exchange, IDC_EDIT_OUTPUT_DIR, m_strOutputDir);
  DDX_Control(exchange, IDC_EXPLORER, m_explorer);
}

BOOL CQuorvelDlg::OnInitDialog() {
  CDialog::OnInitDialog();
  AddAboutToSystemMenu();
  SendMessageW(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
  SendMessageW(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
  NavigateToHowToPage();
  CreateStatusBar();
  FillPartitionList();
  TakeProgramFolderAsOutputDir();
  UpdateData(false);
  m_pScanDlg = nullptr;
  return TRUE;
}

void CQuorvelDlg::AddAboutToSystemMenu() {
  HMENU systemMenu = GetSystemMenu(m_hWnd, FALSE);
  if (systemMenu == nullptr) return;
  wchar_t text[64] = {0};
  if (LoadStringW(ResourceModule(), IDS_ABOUTBOX, text, 64) <= 0 || text[0] == 0) return;
  AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, text);
}

void CQuorvelDlg::NavigateToHowToPage() {
  // The how-to page travels inside the program, so the pane needs no network.
  wchar_t program[MAX_PATH] = {0};
  const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  m_explorer.Navigate(L"res://" + std::wstring(program) + L"/23/#" + std::to_wstring(IDR_HOWTO_PAGE));
}

void CQuorvelDlg::CreateStatusBar() {
  m_hStatusBar = CreateStatusWindowW(WS_CHILD | WS_VISIBLE | WS_BORDER, kStatusBarStartText, m_hWnd, IDC_STATUS_BAR);
  if (m_hStatusBar == nullptr) return;
  SendMessageW(m_hStatusBar, SB_SETPARTS, 4, reinterpret_cast<LPARAM>(kStatusBarPartEdges));
  for (int part = 1; part <= 3; ++part) {
    SendMessageW(m_hStatusBar, SB_SETTEXTW, static_cast<WPARAM>(part),
                 reinterpret_cast<LPARAM>(kStatusBarTexts[part - 1]));
  }
}

void CQuorvelDlg::TakeProgramFolderAsOutputDir() {
  wchar_t folder[256] = {0};
  GetModuleFileNameW(nullptr, folder, 256);
  folder[255] = 0;
  PathRemoveFileSpecW(folder);
  m_strOutputDir = folder;
}

void CQuorvelDlg::FillPartitionList() {
  m_comboPartition.ResetContent();
  wchar_t root[] = L"A:\\";
  const uint32_t drives = platform::LogicalDriveMask();
  uint32_t mask = 1;
  for (int bit = 0; bit < 32; ++bit) {
    if ((drives & mask) != 0) {
      const platform::DriveKind kind = platform::DriveKindOf(root);
      if (kind == platform::DriveKind::Fixed || kind == platform::DriveKind::Removable) {
        m_comboPartition.InsertString(-1, std::wstring(root, 2));
      }
    }
    ++root[0];
    mask <<= 1;
  }
  if (m_comboPartition.GetCount() > 0) m_comboPartition.SetCurSel(0);
}

bool CQuorvelDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) {
  switch (message) {
    case WM_SYSCOMMAND:
      return OnSysCommand(static_cast<UINT>(wParam));
    case WM_PAINT:
      return OnPaint();
    case WM_QUERYDRAGICON:
      *result = reinterpret_cast<INT_PTR>(m_hIcon);
      return true;
    case WM_CLOSE:
      OnClose();
      *result = TRUE;
      return true;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_BUTTON_BROWSE:
          if (HIWORD(wParam) != BN_CLICKED) break;
          OnBrowse();
          return true;
        case IDC_BUTTON_OPEN_FOLDER:
          if (HIWORD(wParam) != BN_CLICKED) break;
          OnOpenFolder();
          return true;
        case IDC_BUTTON_START_SCAN:
          if (HIWORD(wParam) != BN_CLICKED) break;
          OnStartScan();
          return true;
        case IDC_COMBO_PARTITION:
          if (HIWORD(wParam) != CBN_DROPDOWN) break;
          FillPartitionList();
          return true;
        default:
          break;
      }
      break;
    default:
      break;
  }
  return CDialog::OnMessage(message, wParam, lParam, result);
}

bool CQuorvelDlg::OnSysCommand(UINT command) {
  if ((command & 0xFFF0) != IDM_ABOUTBOX) return false;
  CAboutDlg about(m_hWnd);
  about.DoModal();
  return true;
}

bool CQuorvelDlg::OnPaint() {
  if (!IsIconic(m_hWnd)) return false;
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(m_hWnd, &paint);
  SendMessageW(m_hWnd, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
  const int iconWidth = GetSystemMetrics(SM_CXICON);
  const int iconHeight = GetSystemMetrics(SM_CYICON);
  RECT client;
  GetClientRect(m_hWnd, &client);
  const int x = (client.right - client.left - iconWidth + 1) / 2;
  const int y = (client.bottom - client.top - iconHeight + 1) / 2;
  DrawIcon(dc, x, y, m_hIcon);
  EndPaint(m_hWnd, &paint);
  return true;
}

void CQuorvelDlg::OnBrowse() {
  wchar_t path[MAX_PATH] = {0};
  BROWSEINFOW request = {};
  request.pszDisplayName = path;
  request.ulFlags = BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
  if (!m_strOutputDir.empty()) {
    request.lpfn = BrowseCallbackProc;
    request.lParam = reinterpret_cast<LPARAM>(m_strOutputDir.c_str());
  }
  PIDLIST_ABSOLUTE picked = SHBrowseForFolderW(&request);
  if (picked != nullptr) {
    // A shell folder without a file-system path is no place for files.
    const bool hasPath = SHGetPathFromIDListW(picked, path) && path[0] != 0;
    const std::wstring partition = m_comboPartition.GetSelectedText();
    if (hasPath && IsOnScannedPartition(partition, path)) {
      MessageBoxW(m_hWnd, kSameDriveRefusal, ApplicationTitle().c_str(), MB_OK);
      CoTaskMemFree(picked);
      return;
    }
    if (hasPath) m_strOutputDir = path;
  }
  UpdateData(false);
  if (picked != nullptr) CoTaskMemFree(picked);
}

void CQuorvelDlg::OnOpenFolder() {
  ShellExecuteW(nullptr, L"open", m_strOutputDir.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void CQuorvelDlg::OnStartScan() {
  if (m_bReleasingScan) return;
  UpdateData(true);
  // Writing into the partition being scanned would overwrite the very
  // clusters the photos are recovered from.
  if (IsOnScannedPartition(m_comboPartition.GetSelectedText(), m_strOutputDir)) {
    MessageBoxW(m_hWnd, kSameDriveRefusal, ApplicationTitle().c_str(), MB_OK);
    return;
  }
  ShowWindow(SW_HIDE);
  ReleaseScanDialog();
  ShowWindow(SW_HIDE);  // an aborted writer's completion may have shown it meanwhile

  m_pScanDlg = new CScanDig();
  m_pScanDlg->Create(IDD_SCAN_DIALOG, this);
  m_pScanDlg->ShowWindow(SW_SHOW);
}

void CQuorvelDlg::ReleaseScanDialog() {
  if (m_pScanDlg == nullptr || m_bReleasingScan) return;
  m_bReleasingScan = true;
  m_pScanDlg->RequestAbort();
  delete m_pScanDlg;  // waits for its worker
  m_pScanDlg = nullptr;
  m_bReleasingScan = false;
}

void CQuorvelDlg::OnClose() {
  if (m_bReleasingScan) return;
  ReleaseScanDialog();
  CDialog::OnCancel();
}

void CQuorvelDlg::OnOK() {
  if (m_bReleasingScan) return;
  ReleaseScanDialog();
  CDialog::OnOK();
}

void CQuorvelDlg::OnCancel() {
  if (m_bReleasingScan) return;
  ReleaseScanDialog();
  CDialog::OnCancel();
}
