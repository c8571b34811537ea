// What a scan needs of the progress dialog that shows it. The engine never
// touches a window: the Windows program implements this with window messages
// to its scan dialog, the command-line program with a terminal display, and
// the tests with a recorder.
//
// Every call comes from the scan's worker thread and returns once the dialog
// has taken it in.
#pragma once
#include <cstdint>
#include <string>

// Controls of the scan dialog that the scan writes to.
enum ScanDialogControl : int {
  kProgressBarControl = 1005,
  kScannedTextControl = 1007,  // sectors scanned, later files written
  kTotalTextControl = 1008,    // total sectors, later the writing notice
  kPercentTextControl = 1012,
  kFoundTextControl = 1013,
};

// The dialog's cancel state, as the user's cancel button leaves it.
enum ScanCancelState : int32_t {
  kScanRunning = 0,
  kStopAndWrite = 1,  // stop scanning, write what was found
  kAbortScan = 2,     // stop, write nothing more
};

class IScanDialog {
 public:
  virtual ~IScanDialog() = default;

  // The text of the partition chosen in the main dialog ("C:"), empty when
  // none is chosen.
  virtual std::wstring GetSelectedPartitionText() = 0;
  // The output folder chosen in the main dialog.
  virtual std::wstring GetOutputDir() = 0;

  virtual void SetTitle(const std::wstring& title) = 0;
  virtual void SetControlText(int controlId, const std::wstring& text) = 0;
  virtual void SetProgressRange(uint32_t low, uint32_t high) = 0;
  virtual void SetProgressPosition(uint32_t position) = 0;

  virtual int32_t GetCancelState() = 0;
  virtual void SetFoundCount(uint32_t count) = 0;

  // The summary box of a finished pass; returns when the user has closed it.
  virtual void ShowSummary(const std::wstring& text, const std::wstring& caption) = 0;
  // Shows the main dialog again.
  virtual void ShowOwner() = 0;
  // Opens the folder in the system's file browser.
  virtual void OpenFolder(const std::wstring& folder) = 0;
  // Asks the dialog to close itself (posted, not waited for).
  virtual void PostClose() = 0;

  // A found image that could not be stored whole: the file path and the
  // reason. The file is not counted as recovered.
  virtual void ReportWriteFailure(const std::wstring& path, const std::string& reason) {
    (void)path;
    (void)reason;
  }
};
