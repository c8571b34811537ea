// The modeless dialog that stands for one scan: it starts the worker thread
// and is the scan's window on the user. The worker reaches it through
// IScanDialog, with window messages only.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>

#include "engine/scan_dialog.h"
#include "ui/dialog.h"

class CQuorvelDlg;

class CScanDig : public CDialog, public IScanDialog {
 public:
  CScanDig();
  // Waits for the worker to end (answering messages meanwhile), releases its
  // handle, then destroys the window.
  ~CScanDig() override;

  // Creates the window from the template with the main dialog as parent;
  // the worker starts at once.
  bool Create(UINT templateId, CQuorvelDlg* owner);

  // Tells a running worker to stop without writing anything more.
  void RequestAbort() { m_nCancelState.store(kAbortScan); }

  // IScanDialog, called on the worker thread.
  std::wstring GetSelectedPartitionText() override;
  std::wstring GetOutputDir() override { return m_strOutputDir; }
  void SetTitle(const std::wstring& title) override;
  void SetControlText(int controlId, const std::wstring& text) override;
  void SetProgressRange(uint32_t low, uint32_t high) override;
  void SetProgressPosition(uint32_t position) override;
  int32_t GetCancelState() override { return m_nCancelState.load(); }
  void SetFoundCount(uint32_t count) override { m_nFoundCount.store(static_cast<int32_t>(count)); }
  void ShowSummary(const std::wstring& text, const std::wstring& caption) override;
  void ShowOwner() override;
  void OpenFolder(const std::wstring& folder) override;
  void PostClose() override;

 protected:
  BOOL OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result) override;

 private:
  void OnCancelScan();
  // Abort: the main dialog comes back and this one hides.
  void AbortAndReturnToOwner();

  std::atomic<int32_t> m_nFoundCount{0};
  HANDLE m_hThread = nullptr;
  std::atomic<int32_t> m_nCancelState{kScanRunning};
  CQuorvelDlg* m_pOwnerDlg = nullptr;
  // The output folder as it was when the scan started: the main dialog may
  // take a new one while a stopped worker is still finishing.
  std::wstring m_strOutputDir;
};
