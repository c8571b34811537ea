// The command-line scan dialog: Ctrl-C as the cancel button, and its output.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "cli/terminal_scan_dialog.h"

namespace {

std::string Drain(FILE* f) {
  std::fflush(f);
  std::rewind(f);
  std::string out;
  char buffer[512];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.append(buffer, n);
  return out;
}

TEST(TerminalScanDialog, CtrlCStopsWhenSomethingWasFoundAndAbortsOtherwise) {
  struct Case {
    uint32_t found;
    int presses;
    int32_t expected;
  } cases[] = {
      {0, 1, kAbortScan},
      {3, 1, kStopAndWrite},
      {3, 2, kAbortScan},
      {0, 2, kAbortScan},
  };
  for (const Case& c : cases) {
    CTerminalScanDialog dialog({});
    dialog.SetFoundCount(c.found);
    int32_t state = kScanRunning;
    for (int i = 0; i < c.presses; ++i) state = dialog.PressCancel();
    EXPECT_EQ(state, c.expected) << c.found << " found, " << c.presses << " presses";
    EXPECT_EQ(dialog.GetCancelState(), c.expected);
  }
}

TEST(TerminalScanDialog, SummaryNamesTheCaptionTheTextAndEveryFileNotStored) {
  FILE* progress = std::tmpfile();
  FILE* summary = std::tmpfile();
  CTerminalScanDialog::Options options;
  options.outputDir = L"/out";
  options.progress = progress;
  options.summary = summary;
  CTerminalScanDialog dialog(options);
  dialog.SetTitle(L"正在搜索C盘文件");
  dialog.SetControlText(kFoundTextControl, L"找到2个文件");
  dialog.ReportWriteFailure(L"/out/2000.jpg", "cannot create the file: No space left on device");
  dialog.ShowSummary(L"用时3秒,成功恢复1个文件", L"扫描完成");

  const std::string shown = Drain(summary);
  EXPECT_NE(shown.find("扫描完成: 用时3秒,成功恢复1个文件"), std::string::npos) << shown;
  EXPECT_NE(shown.find("/out/2000.jpg: cannot create the file: No space left on device"), std::string::npos) << shown;
  EXPECT_EQ(dialog.FailedWrites(), 1u);
  const std::string lines = Drain(progress);
  EXPECT_NE(lines.find("正在搜索C盘文件  找到2个文件"), std::string::npos) << lines;
  std::fclose(progress);
  std::fclose(summary);
}

}  // namespace
