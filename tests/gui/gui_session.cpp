#include "tests/gui/gui_session.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <set>

#include "tests/gui/gui_checks.h"

namespace {

constexpr UINT kMessageLimitMs = 10000;  // a sent message that takes longer means a hung program

struct WindowSearch {
  DWORD processId;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM data) {
  WindowSearch* search = reinterpret_cast<WindowSearch*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId) search->windows.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
  reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
  return TRUE;
}

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageLimitMs, &result)) {
    FailCheck("the program did not answer message " + std::to_string(message));
  }
  return static_cast<LRESULT>(result);
}

}  // namespace

std::wstring TextOf(HWND window) {
  wchar_t buffer[1024] = {0};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(buffer), SMTO_ABORTIFHUNG,
                           kMessageLimitMs, &copied)) {
    return std::wstring();
  }
  return std::wstring(buffer, std::min<size_t>(copied, 1023));
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {0};
  GetClassNameW(window, name, 64);
  return name;
}

std::vector<HWND> TopLevelWindows(DWORD processId) {
  WindowSearch search{processId, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.windows;
}

HWND FindDialog(DWORD processId, const std::wstring& title, bool prefix) {
  for (HWND window : TopLevelWindows(processId)) {
    if (ClassOf(window) != L"#32770") continue;
    const std::wstring caption = TextOf(window);
    if (prefix ? caption.compare(0, title.size(), title) == 0 : caption == title) return window;
  }
  return nullptr;
}

HWND Control(HWND dialog, int id) {
  HWND control = GetDlgItem(dialog, id);
  GUI_CHECK(control != nullptr, "no control " + std::to_string(id));
  return control;
}

std::wstring ControlText(HWND dialog, int id) { return TextOf(Control(dialog, id)); }

std::vector<std::wstring> StaticTexts(HWND dialog) {
  std::vector<HWND> children;
  EnumChildWindows(dialog, CollectChild, reinterpret_cast<LPARAM>(&children));
  std::vector<std::wstring> texts;
  for (HWND child : children) {
    if (ClassOf(child) == L"Static") texts.push_back(TextOf(child));
  }
  return texts;
}

void PostClick(HWND dialog, int buttonId) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(Control(dialog, buttonId)));
}

GuiSession::GuiSession(const GuiTestSetup& setup) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  std::wstring commandLine = L"\"" + setup.program + L"\"";
  GUI_CHECK(CreateProcessW(setup.program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &process_),
            "cannot start " + Narrow(setup.program));
  WaitUntil([&] {
    main_ = FindDialog(process_.dwProcessId, L"Quorvel 1.0");
    return main_ != nullptr && IsWindowVisible(main_);
  }, "the main dialog");
}

GuiSession::~GuiSession() {
  if (!HasEnded()) {
    TerminateProcess(process_.hProcess, 99);
    WaitForSingleObject(process_.hProcess, kMessageLimitMs);
  }
  CloseHandle(process_.hThread);
  CloseHandle(process_.hProcess);
}

bool GuiSession::HasEnded() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }

DWORD GuiSession::ExitCode() const {
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  return code;
}

void GuiSession::Choose(const std::wstring& partition, const std::wstring& folder) {
  HWND combo = Control(main_, 1000);
  const LRESULT index = Send(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(partition.c_str()));
  GUI_CHECK(index >= 0, Narrow(partition) + " is not in the partition list");
  Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  Send(main_, WM_COMMAND, MAKEWPARAM(1000, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
  Send(Control(main_, 1002), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
}

HWND GuiSession::WaitForScanDialog() {
  HWND dialog = nullptr;
  WaitUntil([&] {
    dialog = FindDialog(processId(), L"正在", true);
    return dialog != nullptr && IsWindowVisible(dialog);
  }, "the scan dialog");
  return dialog;
}

HWND GuiSession::WaitForBox(const std::wstring& caption) {
  HWND box = nullptr;
  WaitUntil([&] {
    box = FindDialog(processId(), caption);
    return box != nullptr && IsWindowVisible(box);
  }, "the box " + Narrow(caption));
  return box;
}

void GuiSession::Answer(HWND box, int buttonId) {
  PostClick(box, buttonId);
  WaitUntil([&] { return !IsWindow(box); }, "the box to close");
}

void GuiSession::CloseAndWait() {
  PostMessageW(main_, WM_CLOSE, 0, 0);
  WaitUntil([&] { return HasEnded(); }, "the program to end");
}

std::wstring FreshFolder(const GuiTestSetup& setup, const std::wstring& name) {
  const std::wstring folder = setup.workFolder + L"\\" + name;
  for (const std::wstring& file : JpegFiles(folder)) DeleteFileW((folder + L"\\" + file).c_str());
  CreateDirectoryW(setup.workFolder.c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  GUI_CHECK(JpegFiles(folder).empty(), "cannot empty " + Narrow(folder));
  return folder;
}

std::vector<std::wstring> JpegFiles(const std::wstring& folder) {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*.jpg").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    names.push_back(found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadWholeFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  GUI_CHECK(file != INVALID_HANDLE_VALUE, "cannot read " + Narrow(path));
  std::string bytes;
  char buffer[65536];
  DWORD n = 0;
  while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
  CloseHandle(file);
  return bytes;
}

void CheckRecoveredPhotos(const GuiTestSetup& setup, const std::wstring& folder) {
  std::set<std::string> photos;
  for (const std::wstring& name : JpegFiles(setup.photos)) photos.insert(ReadWholeFile(setup.photos + L"\\" + name));
  GUI_CHECK(!photos.empty(), "no photos in " + Narrow(setup.photos));
  std::set<std::string> recovered;
  for (const std::wstring& name : JpegFiles(folder)) {
    const std::string bytes = ReadWholeFile(folder + L"\\" + name);
    GUI_CHECK(photos.count(bytes) == 1, Narrow(name) + " is none of the photos");
    recovered.insert(bytes);
  }
  GUI_CHECK(recovered == photos, "not every photo was recovered into " + Narrow(folder));
}
