// The program's own drive letters. Outside Windows every drive is one of
// these; on Windows they let the command line and the tests put an image
// file behind a letter, and an unmapped letter is the system's drive.
#include "platform/drive_table.h"

#include <mutex>
#include <string>

namespace platform {
namespace {

struct DriveTable {
  std::mutex lock;
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
  std::lock_guard<std::mutex> guard(Table().lock);
  Table().paths[slot] = devicePath;
  return true;
}

void UnmapDriveLetter(wchar_t letter) {
  const int slot = SlotOf(letter);
  if (slot < 0) return;
  std::lock_guard<std::mutex> guard(Table().lock);
  Table().paths[slot].clear();
}

std::string MappedDevicePath(wchar_t letter) {
  const int slot = SlotOf(letter);
  if (slot < 0) return std::string();
  std::lock_guard<std::mutex> guard(Table().lock);
  return Table().paths[slot];
}

}  // namespace platform
