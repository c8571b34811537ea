// quorvel_screenshot_tour --program PATH --drive X: --photos DIR --work DIR
// Walks Quorvel.exe through the states the documentation shows: the main
// dialog, a scan in progress, the summary box. At each it creates
// WORK\STATE.ready and waits for WORK\STATE.done, so that a script outside
// can take a screenshot meanwhile.
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

#include "tests/gui/gui_checks.h"
#include "tests/gui/gui_session.h"

namespace {

bool FileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

void Pause(const std::wstring& work, const std::wstring& state) {
  const std::wstring ready = work + L"\\" + state + L".ready";
  HANDLE file = CreateFileW(ready.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  WaitUntil([&] { return FileExists(work + L"\\" + state + L".done"); }, "the screenshot of " + Narrow(state), 600);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::map<std::wstring, std::wstring> options;
  for (int i = 1; i + 1 < argc; i += 2) options[argv[i]] = argv[i + 1];
  GuiTestSetup setup;
  setup.program = options[L"--program"];
  setup.photos = options[L"--photos"];
  setup.workFolder = options[L"--work"];
  const std::wstring drive = options[L"--drive"];
  try {
    GuiSession session(setup);
    const std::wstring folder = FreshFolder(setup, L"recovered");
    session.Choose(drive, folder);
    SetForegroundWindow(session.main());
    Pause(setup.workFolder, L"main");

    session.StartScan();
    HWND scanDialog = session.WaitForScanDialog();
    const std::wstring found = L"找到" + std::to_wstring(JpegFiles(setup.photos).size()) + L"个文件";
    WaitUntil([&] { return ControlText(scanDialog, 1013) == found && ControlText(scanDialog, 1012) != L"百分比"; },
              "the scan to find the photos");
    Pause(setup.workFolder, L"scan");

    HWND box = session.WaitForBox(L"扫描完成");
    SetForegroundWindow(box);
    Pause(setup.workFolder, L"summary");
    session.Answer(box, IDOK);
    session.CloseAndWait();
  } catch (const CheckFailure& failure) {
    std::printf("screenshot tour failed: %s\n", failure.what());
    return 1;
  }
  return 0;
}
