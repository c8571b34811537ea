// The main dialog itself: its partition list, its refusal of an output
// folder on the scanned partition, the About box and the end of the program.
#include <algorithm>
#include <cwctype>

#include "tests/gui/gui_checks.h"
#include "tests/gui/scenarios.h"

namespace {

constexpr int kPartitionList = 1000;

std::vector<std::wstring> PartitionItems(HWND main) {
  HWND combo = Control(main, kPartitionList);
  std::vector<std::wstring> items;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[64] = {0};
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

// The fixed and removable drives of the system, asked independently.
std::vector<std::wstring> FixedAndRemovableDrives() {
  std::vector<std::wstring> drives;
  const DWORD mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if ((mask & (1u << i)) == 0) continue;
    const wchar_t root[] = {static_cast<wchar_t>(L'A' + i), L':', L'\\', 0};
    const UINT type = GetDriveTypeW(root);
    if (type == DRIVE_FIXED || type == DRIVE_REMOVABLE) drives.push_back(std::wstring(root, 2));
  }
  return drives;
}

bool Contains(const std::vector<std::wstring>& items, const std::wstring& item) {
  return std::find(items.begin(), items.end(), item) != items.end();
}

void PartitionListShowsFixedAndRemovableDrives(const GuiTestSetup& setup) {
  GuiSession session(setup);
  const std::vector<std::wstring> items = PartitionItems(session.main());
  GUI_CHECK(items == FixedAndRemovableDrives(), "the list holds the fixed and removable drives in letter order");
  for (const std::wstring& item : items) {
    GUI_CHECK(item.size() == 2 && std::iswupper(static_cast<wint_t>(item[0])) && item[1] == L':',
              "item " + Narrow(item) + " is a capital letter and a colon");
  }
  GUI_CHECK(Contains(items, setup.fatDrive) && Contains(items, setup.removableDrive), "image and removable drives");
  GUI_CHECK(!Contains(items, setup.cdromDrive), "no CD-ROM drive");
  GUI_CHECK(SendMessageW(Control(session.main(), kPartitionList), CB_GETCURSEL, 0, 0) == 0, "first item selected");
  session.CloseAndWait();
}

void SameDriveOutputIsRefused(const GuiTestSetup& setup) {
  GuiSession session(setup);
  const std::wstring upper = setup.fatDrive.substr(0, 1);
  const std::wstring lower(1, static_cast<wchar_t>(std::towlower(static_cast<wint_t>(upper[0]))));
  for (const std::wstring& folder : {upper + L":\\", upper + L":\\photos", lower + L":\\photos"}) {
    session.Choose(setup.fatDrive, folder);
    session.StartScan();
    HWND box = session.WaitForBox(L"Quorvel");
    const std::vector<std::wstring> texts = StaticTexts(box);
    GUI_CHECK(Contains(texts, L"扫描的分区和存放恢复后文件的盘符不能是同一盘符,请选择其它盘!"),
              "refusal of " + Narrow(folder));
    session.Answer(box, IDOK);
    GUI_CHECK(IsWindowVisible(session.main()), "the main dialog stays");
    GUI_CHECK(FindDialog(session.processId(), L"正在", true) == nullptr, "no scan started for " + Narrow(folder));
  }
  session.CloseAndWait();
}

// Wine's folder browser: a dialog with a tree and, for BIF_EDITBOX, an edit
// that takes a typed path.
HWND FolderBrowser(GuiSession& session) {
  HWND browser = nullptr;
  WaitUntil([&] {
    for (HWND window : TopLevelWindows(session.processId())) {
      if (ClassOf(window) == L"#32770" && IsWindowVisible(window) &&
          FindWindowExW(window, nullptr, L"SysTreeView32", nullptr) != nullptr) {
        browser = window;
        return true;
      }
    }
    return false;
  }, "the folder browser");
  return browser;
}

// Opens the folder browser and closes it with the button: the browser opens
// on the output folder, so OK picks that folder again.
void CloseBrowserWith(GuiSession& session, int buttonId) {
  PostClick(session.main(), 1003);
  HWND browser = FolderBrowser(session);
  PostClick(browser, buttonId);
  WaitUntil([&] { return !IsWindow(browser); }, "the folder browser to close");
}

void BrowsedFolderOnScannedPartitionIsRefused(const GuiTestSetup& setup) {
  GuiSession session(setup);
  // The output folder starts as the program's own folder.
  const std::wstring programFolder = setup.program.substr(0, setup.program.find_last_of(L'\\'));
  const std::wstring programDrive = programFolder.substr(0, 2);
  const std::wstring typed = L"C:\\typed but not taken";

  session.Choose(programDrive, typed);
  CloseBrowserWith(session, IDOK);
  HWND box = session.WaitForBox(L"Quorvel");
  GUI_CHECK(Contains(StaticTexts(box), L"扫描的分区和存放恢复后文件的盘符不能是同一盘符,请选择其它盘!"), "refusal");
  session.Answer(box, IDOK);
  GUI_CHECK(ControlText(session.main(), 1002) == typed, "a refused pick leaves the edit as it was");

  // On another partition the same pick is taken; a cancelled browser puts
  // the folder back as well.
  for (int button : {IDOK, IDCANCEL}) {
    session.Choose(L"C:", typed);
    CloseBrowserWith(session, button);
    WaitUntil([&] { return ControlText(session.main(), 1002) == programFolder; }, "the folder in the edit");
    GUI_CHECK(FindDialog(session.processId(), L"Quorvel") == nullptr, "no refusal");
  }
  session.CloseAndWait();
}

void AboutBoxFromSystemMenu(const GuiTestSetup& setup) {
  GuiSession session(setup);
  // Every command from 16 to 31 is the About entry's.
  for (WPARAM command : {WPARAM{0x10}, WPARAM{0x1F}}) {
    PostMessageW(session.main(), WM_SYSCOMMAND, command, 0);
    HWND about = session.WaitForBox(L"关于 Quorvel");
    GUI_CHECK(GetWindow(about, GW_OWNER) == session.main(), "the About box belongs to the main dialog");
    const std::vector<std::wstring> texts = StaticTexts(about);
    GUI_CHECK(std::any_of(texts.begin(), texts.end(),
                          [](const std::wstring& text) { return text.find(L"Quorvel") != std::wstring::npos; }),
              "product line");
    GUI_CHECK(ControlText(about, IDOK) == L"确定", "OK button");
    GUI_CHECK(!IsWindowEnabled(session.main()), "the About box is modal");
    session.Answer(about, IDOK);
    WaitUntil([&] { return IsWindowEnabled(session.main()); }, "the main dialog to take input again");
  }
  session.CloseAndWait();
}

void ClosingMainDialogEndsProgram(const GuiTestSetup& setup) {
  for (UINT way : {UINT{WM_CLOSE}, UINT{IDCANCEL}}) {
    GuiSession session(setup);
    if (way == WM_CLOSE) {
      PostMessageW(session.main(), WM_CLOSE, 0, 0);
    } else {
      PostMessageW(session.main(), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);  // Esc
    }
    WaitUntil([&] { return session.HasEnded(); }, "the program to end");
    GUI_CHECK(session.ExitCode() == 0, "exit status 0");
  }
}

}  // namespace

std::vector<Scenario> DialogScenarios() {
  return {
      {"partition list shows fixed and removable drives", PartitionListShowsFixedAndRemovableDrives},
      {"output folder on the scanned partition is refused", SameDriveOutputIsRefused},
      {"folder picked in the browser on the scanned partition is refused", BrowsedFolderOnScannedPartitionIsRefused},
      {"about box from the system menu", AboutBoxFromSystemMenu},
      {"closing the main dialog ends the program", ClosingMainDialogEndsProgram},
  };
}
