// One run of Quorvel.exe under test, and the window operations the tests
// use on it, across processes.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// What the test run was given on its command line.
struct GuiTestSetup {
  std::wstring program;      // Quorvel.exe
  std::wstring photos;       // folder of the photos that the images hold, deleted
  std::wstring workFolder;   // where output folders are made (not on an image drive)
  std::wstring fatDrive;     // "F:": FAT32 image with the deleted photos
  std::wstring ntfsDrive;    // "G:": NTFS image with the deleted photos (may be empty)
  std::wstring largeDrive;   // "H:": a large FAT32 image, the photos at its start
  std::wstring emptyDrive;   // "E:": a large FAT32 image without photos
  std::wstring removableDrive;  // a drive of removable type
  std::wstring cdromDrive;      // a CD-ROM drive
};

std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
// The top-level windows of a process.
std::vector<HWND> TopLevelWindows(DWORD processId);
// A dialog-class top-level window of the process whose caption is title, or
// whose caption starts with it when prefix is true.
HWND FindDialog(DWORD processId, const std::wstring& title, bool prefix = false);
// The child of a dialog with that control identifier.
HWND Control(HWND dialog, int id);
std::wstring ControlText(HWND dialog, int id);
// Every static text of a dialog, in child order.
std::vector<std::wstring> StaticTexts(HWND dialog);
// A click that may open a modal box: posted, not waited for.
void PostClick(HWND dialog, int buttonId);

class GuiSession {
 public:
  explicit GuiSession(const GuiTestSetup& setup);
  ~GuiSession();
  GuiSession(const GuiSession&) = delete;
  GuiSession& operator=(const GuiSession&) = delete;

  DWORD processId() const { return process_.dwProcessId; }
  HWND main() const { return main_; }
  bool HasEnded() const;
  DWORD ExitCode() const;

  // Selects the partition by its text and puts the folder into the edit.
  void Choose(const std::wstring& partition, const std::wstring& folder);
  void StartScan() { PostClick(main_, 1006); }
  // The visible scan dialog (title set by the scan); waits for it.
  HWND WaitForScanDialog();
  // A message box of the process with that caption; waits for it.
  HWND WaitForBox(const std::wstring& caption);
  // Answers a box with the button id (IDOK, IDYES, IDNO) and waits until it is gone.
  void Answer(HWND box, int buttonId);
  // Closes the main dialog and waits for the process to end.
  void CloseAndWait();

 private:
  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
};

// A fresh empty folder under the work folder.
std::wstring FreshFolder(const GuiTestSetup& setup, const std::wstring& name);
// The .jpg files of a folder, by name.
std::vector<std::wstring> JpegFiles(const std::wstring& folder);
std::string ReadWholeFile(const std::wstring& path);
// Every photo of the photo folder is among the recovered files byte for byte,
// and every recovered file is one of the photos.
void CheckRecoveredPhotos(const GuiTestSetup& setup, const std::wstring& folder);
