// Outside Windows the drives are exactly the letters of the drive table.
#include "platform/drive_table.h"
#include "platform/drives.h"

namespace platform {

uint32_t LogicalDriveMask() {
  uint32_t mask = 0;
  for (int i = 0; i < 26; ++i) {
    if (!MappedDevicePath(static_cast<wchar_t>(L'A' + i)).empty()) mask |= 1u << i;
  }
  return mask;
}

DriveKind DriveKindOf(const wchar_t* rootPath) {
  const wchar_t letter = DriveLetterOfPath(rootPath);
  if (letter == 0 || MappedDevicePath(letter).empty()) return DriveKind::NoRootDirectory;
  return DriveKind::Fixed;
}

}  // namespace platform
