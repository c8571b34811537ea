#include "cli/terminal_scan_dialog.h"

#include <chrono>

#include "platform/shell.h"
#include "platform/text.h"

namespace {

uint64_t NowMs() {
  return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                   std::chrono::steady_clock::now().time_since_epoch())
                                   .count());
}

// A terminal is redrawn up to ten times a second; a log gets a line a second.
constexpr uint64_t kTerminalIntervalMs = 100;
constexpr uint64_t kLogIntervalMs = 1000;

}  // namespace

CTerminalScanDialog::CTerminalScanDialog(Options options) : options_(std::move(options)) {}

void CTerminalScanDialog::SetTitle(const std::wstring& title) {
  title_ = title;
  Render(true);
}

void CTerminalScanDialog::SetControlText(int controlId, const std::wstring& text) {
  texts_[controlId] = text;
  // The writer's notice and a new find are worth showing at once.
  Render(controlId == kTotalTextControl || controlId == kFoundTextControl);
}

void CTerminalScanDialog::Render(bool force) {
  const uint64_t now = NowMs();
  const uint64_t interval = options_.progressIsTerminal ? kTerminalIntervalMs : kLogIntervalMs;
  if (lastRenderMs_ != 0 && now - lastRenderMs_ < interval && !(force && options_.progressIsTerminal)) return;
  lastRenderMs_ = now;

  std::wstring line = title_;
  for (int id : {kTotalTextControl, kScannedTextControl, kPercentTextControl, kFoundTextControl}) {
    auto it = texts_.find(id);
    if (it == texts_.end() || it->second.empty()) continue;
    if (!line.empty()) line += L"  ";
    line += it->second;
  }
  const std::string utf8 = platform::WideToUtf8(line);
  if (options_.progressIsTerminal) {
    std::fprintf(options_.progress, "\r\033[K%s", utf8.c_str());
    lineOpen_ = true;
  } else {
    std::fprintf(options_.progress, "%s\n", utf8.c_str());
  }
  std::fflush(options_.progress);
}

void CTerminalScanDialog::FinishProgressLine() {
  if (!lineOpen_) return;
  std::fputc('\n', options_.progress);
  std::fflush(options_.progress);
  lineOpen_ = false;
}

void CTerminalScanDialog::ShowSummary(const std::wstring& text, const std::wstring& caption) {
  lastRenderMs_ = 0;
  Render(true);
  FinishProgressLine();
  std::fprintf(options_.summary, "%s: %s\n", platform::WideToUtf8(caption).c_str(), platform::WideToUtf8(text).c_str());
  if (!failures_.empty()) {
    std::fprintf(options_.summary, "%zu found image(s) could not be stored whole:\n", failures_.size());
    for (const auto& failure : failures_) {
      std::fprintf(options_.summary, "  %s: %s\n", platform::WideToUtf8(failure.first).c_str(), failure.second.c_str());
    }
  }
  std::fprintf(options_.summary, "Output folder: %s\n", platform::WideToUtf8(options_.outputDir).c_str());
  std::fflush(options_.summary);
  summaryShown_ = true;
}

void CTerminalScanDialog::OpenFolder(const std::wstring& folder) {
  if (options_.openFolder) platform::OpenFolderInShell(folder);
}

void CTerminalScanDialog::ReportWriteFailure(const std::wstring& path, const std::string& reason) {
  failures_.emplace_back(path, reason);
}

int32_t CTerminalScanDialog::PressCancel() {
  // Nothing found yet, or a stop already asked for: abort. Otherwise stop
  // and write what was found.
  int32_t state = cancelState_.load();
  const int32_t next = (foundCount_.load() == 0 || state != kScanRunning) ? kAbortScan : kStopAndWrite;
  cancelState_.store(next);
  return next;
}
