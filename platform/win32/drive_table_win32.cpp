// On Windows the drive letters are the system's. The table lets the command
// line and the tests put an image file behind a letter of the program's own;
// an unmapped letter is the system's drive.
#include <windows.h>

#include <string>

#include "platform/drive_table.h"

namespace platform {
namespace {

struct DriveTable {
  SRWLOCK lock = SRWLOCK_INIT;
  std::string paths[26];
};

DriveTable& Table() {
  static DriveTable table;
  return table;
}

int SlotOf(wchar_t letter) {
  if (letter >= L'a' && letter <= L'z') letter = static_cast<wchar_t>(letter - L'a' + L'A');
  if (letter < L'A' || letter > L'Z') return -1;
  return letter - L'A';
}

}  // namespace

bool MapDriveLetter(wchar_t letter, const std::string& devicePath) {
  const int slot = SlotOf(letter);
  if (slot < 0 || devicePath.empty()) return false;
  AcquireSRWLockExclusive(&Table().lock);
  Table().paths[slot] = devicePath;
  ReleaseSRWLockExclusive(&Table().lock);
  return true;
}

void UnmapDriveLetter(wchar_t letter) {
  const int slot = SlotOf(letter);
  if (slot < 0) return;
  AcquireSRWLockExclusive(&Table().lock);
  Table().paths[slot].clear();
  ReleaseSRWLockExclusive(&Table().lock);
}

std::string MappedDevicePath(wchar_t letter) {
  const int slot = SlotOf(letter);
  if (slot < 0) return std::string();
  AcquireSRWLockShared(&Table().lock);
  std::string path = Table().paths[slot];
  ReleaseSRWLockShared(&Table().lock);
  return path;
}

}  // namespace platform
