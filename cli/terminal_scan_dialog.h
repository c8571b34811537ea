// The scan dialog of the command-line program: the texts a scan puts into
// the dialog's title and controls are shown on one progress line on stderr,
// the summary box becomes a summary on stdout, and the cancel button is
// Ctrl-C (see interrupt.h).
#pragma once
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "engine/scan_dialog.h"

class CTerminalScanDialog : public IScanDialog {
 public:
  struct Options {
    std::wstring partitionText;  // "C:"
    std::wstring outputDir;
    bool openFolder = false;
    bool progressIsTerminal = false;
    FILE* progress = stderr;
    FILE* summary = stdout;
  };

  explicit CTerminalScanDialog(Options options);

  std::wstring GetSelectedPartitionText() override { return options_.partitionText; }
  std::wstring GetOutputDir() override { return options_.outputDir; }
  void SetTitle(const std::wstring& title) override;
  void SetControlText(int controlId, const std::wstring& text) override;
  void SetProgressRange(uint32_t, uint32_t) override {}
  void SetProgressPosition(uint32_t) override {}
  int32_t GetCancelState() override { return cancelState_.load(); }
  void SetFoundCount(uint32_t count) override { foundCount_.store(count); }
  void ShowSummary(const std::wstring& text, const std::wstring& caption) override;
  void ShowOwner() override {}
  void OpenFolder(const std::wstring& folder) override;
  void PostClose() override {}
  void ReportWriteFailure(const std::wstring& path, const std::string& reason) override;

  // The cancel button: what one press of Ctrl-C does. Safe to call from a
  // signal handler or another thread. Returns the new cancel state.
  int32_t PressCancel();

  uint32_t FailedWrites() const { return static_cast<uint32_t>(failures_.size()); }
  bool SummaryShown() const { return summaryShown_; }
  // Ends the progress line so that the next output starts on a line of its own.
  void FinishProgressLine();

 private:
  void Render(bool force);

  Options options_;
  std::atomic<int32_t> cancelState_{kScanRunning};
  std::atomic<uint32_t> foundCount_{0};
  std::wstring title_;
  std::map<int, std::wstring> texts_;
  std::vector<std::pair<std::wstring, std::string>> failures_;
  uint64_t lastRenderMs_ = 0;
  bool lineOpen_ = false;
  bool summaryShown_ = false;
};
