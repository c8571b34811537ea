#include <mutex>
#include <string>

#include "platform/drive_table.h"
#include "platform/drives.h"

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

uint32_t LogicalDriveMask() {
  uint32_t mask = 0;
  std::lock_guard<std::mutex> guard(Table().lock);
  for (int i = 0; i < 26; ++i) {
    if (!Table().paths[i].empty()) mask |= 1u << i;
  }
  return mask;
}

DriveKind DriveKindOf(const wchar_t* rootPath) {
  const wchar_t letter = DriveLetterOfPath(rootPath);
  if (letter == 0 || MappedDevicePath(letter).empty()) return DriveKind::NoRootDirectory;
  return DriveKind::Fixed;
}

}  // namespace platform
