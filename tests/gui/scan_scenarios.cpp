// Scans from the main dialog: to the end, stopped, aborted, hidden.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>

#include "tests/gui/gui_checks.h"
#include "tests/gui/scenarios.h"

namespace {

constexpr int kStartScan = 1006;
constexpr int kCancelScan = 1001;
constexpr int kProgressBar = 1005;
constexpr int kScannedText = 1007;
constexpr int kTotalText = 1008;
constexpr int kFoundText = 1013;

std::wstring SearchingTitle(const std::wstring& drive) { return L"正在搜索" + drive.substr(0, 1) + L"盘文件"; }

std::wstring FoundText(size_t count) { return L"找到" + std::to_wstring(count) + L"个文件"; }

size_t PhotoCount(const GuiTestSetup& setup) { return JpegFiles(setup.photos).size(); }

bool HasText(const std::vector<std::wstring>& texts, const std::wstring& text) {
  return std::find(texts.begin(), texts.end(), text) != texts.end();
}

bool StartsWith(const std::wstring& text, const std::wstring& start) { return text.compare(0, start.size(), start) == 0; }

// Waits until the walk runs on the drive and every photo has been found in it.
void WaitForWalkWithAllPhotosFound(const GuiTestSetup& setup, HWND scanDialog, const std::wstring& drive) {
  WaitUntil([&] {
    return TextOf(scanDialog) == SearchingTitle(drive) && StartsWith(ControlText(scanDialog, kTotalText), L"总扇区:") &&
           ControlText(scanDialog, kFoundText) == FoundText(PhotoCount(setup));
  }, "the walk to find every photo");
}

// The summary box of a scan, with the scan dialog behind it showing the
// writer's last texts.
void CheckSummary(GuiSession& session, HWND scanDialog, const std::wstring& drive, const std::wstring& caption,
                  size_t written) {
  HWND box = session.WaitForBox(caption);
  GUI_CHECK(GetWindow(box, GW_OWNER) == scanDialog, "the summary box belongs to the scan dialog");
  const std::vector<std::wstring> texts = StaticTexts(box);
  const std::wstring tail = L"秒,成功恢复" + std::to_wstring(written) + L"个文件";
  GUI_CHECK(std::any_of(texts.begin(), texts.end(), [&](const std::wstring& text) {
              return StartsWith(text, L"用时") && text.size() > tail.size() &&
                     text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
            }), "summary text for " + std::to_string(written) + " files");
  GUI_CHECK(TextOf(scanDialog) == SearchingTitle(drive), "title while the summary is shown");
  GUI_CHECK(ControlText(scanDialog, kTotalText) == L"搜索完成,文件恢复中...", "writer notice");
  GUI_CHECK(ControlText(scanDialog, kScannedText) == L"成功恢复" + std::to_wstring(written) + L"个文件", "files written");
  session.Answer(box, IDOK);
  WaitUntil([&] { return IsWindowVisible(session.main()) && !IsWindowVisible(scanDialog); },
            "the main dialog back and the scan dialog hidden");
}

// Starts a scan of drive into a fresh folder and waits for its dialog.
HWND StartScanInto(GuiSession& session, const std::wstring& drive, const std::wstring& folder) {
  session.Choose(drive, folder);
  session.StartScan();
  HWND scanDialog = session.WaitForScanDialog();
  GUI_CHECK(!IsWindowVisible(session.main()), "the main dialog hides during a scan");
  return scanDialog;
}

void ScanToTheEnd(const GuiTestSetup& setup, const std::wstring& drive) {
  GuiSession session(setup);
  HWND previous = nullptr;
  for (const wchar_t* name : {L"first", L"second"}) {
    const std::wstring folder = FreshFolder(setup, L"full-" + drive.substr(0, 1) + L"-" + name);
    HWND scanDialog = StartScanInto(session, drive, folder);
    GUI_CHECK(GetWindowLongW(scanDialog, GWL_EXSTYLE) & WS_EX_TOPMOST, "the scan dialog stays on top");
    CheckSummary(session, scanDialog, drive, L"扫描完成", PhotoCount(setup));
    GUI_CHECK(ControlText(scanDialog, kFoundText) == FoundText(PhotoCount(setup)), "found count");
    CheckRecoveredPhotos(setup, folder);
    // A second scan replaces the finished scan's dialog.
    if (previous != nullptr) GUI_CHECK(!IsWindow(previous), "the previous scan dialog is gone");
    previous = scanDialog;
  }
  session.CloseAndWait();
}

void ScanFat32ToTheEnd(const GuiTestSetup& setup) { ScanToTheEnd(setup, setup.fatDrive); }

void ScanNtfsToTheEnd(const GuiTestSetup& setup) { ScanToTheEnd(setup, setup.ntfsDrive); }

void CancelWithNothingFoundAsksNothing(const GuiTestSetup& setup) {
  GuiSession session(setup);
  const std::wstring folder = FreshFolder(setup, L"cancel-nothing-found");
  HWND scanDialog = StartScanInto(session, setup.emptyDrive, folder);
  WaitUntil([&] { return StartsWith(ControlText(scanDialog, kTotalText), L"总扇区:"); }, "the walk");
  GUI_CHECK(ControlText(scanDialog, kFoundText) == FoundText(0), "nothing found");
  // Sent, not posted: it returns only if no question box holds it up.
  DWORD_PTR ignored = 0;
  GUI_CHECK(SendMessageTimeoutW(scanDialog, WM_COMMAND, MAKEWPARAM(kCancelScan, BN_CLICKED),
                                reinterpret_cast<LPARAM>(Control(scanDialog, kCancelScan)), SMTO_ABORTIFHUNG, 60000,
                                &ignored),
            "the cancel button returns without a question");
  GUI_CHECK(IsWindowVisible(session.main()) && !IsWindowVisible(scanDialog), "main dialog back, scan dialog hidden");
  GUI_CHECK(FindDialog(session.processId(), L"提示") == nullptr, "no question");
  session.CloseAndWait();
  GUI_CHECK(JpegFiles(folder).empty(), "nothing written");
}

HWND AskToCancel(GuiSession& session, HWND scanDialog) {
  PostClick(scanDialog, kCancelScan);
  HWND question = session.WaitForBox(L"提示");
  GUI_CHECK(HasText(StaticTexts(question), L"取消扫描以后,恢复已经扫描到的文件"), "the cancel question");
  return question;
}

void CancelAnsweredYesStopsAndWrites(const GuiTestSetup& setup) {
  GuiSession session(setup);
  const std::wstring folder = FreshFolder(setup, L"cancel-yes");
  HWND scanDialog = StartScanInto(session, setup.largeDrive, folder);
  WaitForWalkWithAllPhotosFound(setup, scanDialog, setup.largeDrive);
  session.Answer(AskToCancel(session, scanDialog), IDYES);
  CheckSummary(session, scanDialog, setup.largeDrive, L"扫描终止", PhotoCount(setup));
  CheckRecoveredPhotos(setup, folder);
  session.CloseAndWait();
}

void CancelAnsweredNoAbortsWithoutWriting(const GuiTestSetup& setup) {
  GuiSession session(setup);
  const std::wstring folder = FreshFolder(setup, L"cancel-no");
  HWND scanDialog = StartScanInto(session, setup.largeDrive, folder);
  WaitForWalkWithAllPhotosFound(setup, scanDialog, setup.largeDrive);
  session.Answer(AskToCancel(session, scanDialog), IDNO);
  WaitUntil([&] { return IsWindowVisible(session.main()) && !IsWindowVisible(scanDialog); },
            "the main dialog back and the scan dialog hidden");
  // Closing waits for the aborted worker; nothing may have been written.
  session.CloseAndWait();
  GUI_CHECK(JpegFiles(folder).empty(), "nothing written after an abort");
}

void EscHidesScanDialogWhileScanGoesOn(const GuiTestSetup& setup) {
  GuiSession session(setup);
  const std::wstring folder = FreshFolder(setup, L"escape");
  HWND scanDialog = StartScanInto(session, setup.largeDrive, folder);
  WaitUntil([&] { return StartsWith(ControlText(scanDialog, kTotalText), L"总扇区:"); }, "the walk");
  PostMessageW(Control(scanDialog, kCancelScan), WM_KEYDOWN, VK_ESCAPE, 0);
  WaitUntil([&] { return !IsWindowVisible(scanDialog); }, "Esc to hide the scan dialog");
  GUI_CHECK(!IsWindowVisible(session.main()), "the main dialog stays hidden");
  HWND bar = Control(scanDialog, kProgressBar);
  const LRESULT hiddenAt = SendMessageW(bar, PBM_GETPOS, 0, 0);
  WaitUntil([&] { return SendMessageW(bar, PBM_GETPOS, 0, 0) > hiddenAt; }, "the hidden scan to go on");
  CheckSummary(session, scanDialog, setup.largeDrive, L"扫描完成", PhotoCount(setup));
  CheckRecoveredPhotos(setup, folder);
  session.CloseAndWait();
}

}  // namespace

std::vector<Scenario> ScanScenarios(const GuiTestSetup& setup) {
  std::vector<Scenario> scenarios = {
      {"fat32 scan to the end, twice", ScanFat32ToTheEnd},
      {"cancel with nothing found asks nothing", CancelWithNothingFoundAsksNothing},
      {"cancel answered yes stops and writes", CancelAnsweredYesStopsAndWrites},
      {"cancel answered no aborts without writing", CancelAnsweredNoAbortsWithoutWriting},
      {"esc hides the scan dialog while the scan goes on", EscHidesScanDialogWhileScanGoesOn},
  };
  if (!setup.ntfsDrive.empty()) scenarios.insert(scenarios.begin() + 1, {"ntfs scan to the end, twice", ScanNtfsToTheEnd});
  return scenarios;
}
