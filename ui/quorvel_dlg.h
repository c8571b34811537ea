// The main dialog: the partition to scan, the folder for the recovered
// photos, and the button that starts a scan.
#pragma once
#include <string>

#include "ui/combo_box.h"
#include "ui/dialog.h"
#include "ui/explorer1.h"

class CScanDig;

class CQuorvelDlg : public CDialog {
 public:
  CQuorvelDlg();
  ~CQuorvelDlg() override;

  // Read by the scan dialog when a scan starts and by its worker.
  CComboBox m_comboPartition;
  std::wstring m_strOutputDir;

 protected:
  void DoDataExchange(CDataExchange& exchange) override;
  BOOL OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;
  // Enter and Esc end the program like the close box: the last scan is
  // settled first.
  void OnOK() override;
  void OnCancel() override;

 private:
  bool OnSysCommand(UINT command);
  bool OnPaint();
  void OnBrowse();
  void OnOpenFolder();
  void OnStartScan();
  void OnClose();
  void FillPartitionList();

  void AddAboutToSystemMenu();
  void CreateStatusBar();
  void NavigateToHowToPage();
  void TakeProgramFolderAsOutputDir();
  // Deletes the last scan's dialog once its worker has ended; a worker still
  // running is told to abort first.
  void ReleaseScanDialog();

  HICON m_hIcon;
  CScanDig* m_pScanDlg = nullptr;
  HWND m_hStatusBar = nullptr;
  CExplorer1 m_explorer;
  // Set while ReleaseScanDialog waits: the messages it answers meanwhile
  // must not start or end anything.
  bool m_bReleasingScan = false;
};
