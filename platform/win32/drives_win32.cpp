#include <windows.h>

#include <string>

#include "platform/drive_table.h"
#include "platform/drives.h"

namespace platform {

uint32_t LogicalDriveMask() {
  uint32_t mask = GetLogicalDrives();
  for (int i = 0; i < 26; ++i) {
    if (!MappedDevicePath(static_cast<wchar_t>(L'A' + i)).empty()) mask |= 1u << i;
  }
  return mask;
}

DriveKind DriveKindOf(const wchar_t* rootPath) {
  const wchar_t letter = DriveLetterOfPath(rootPath);
  if (letter != 0 && !MappedDevicePath(letter).empty()) return DriveKind::Fixed;
  return static_cast<DriveKind>(GetDriveTypeW(rootPath));
}

}  // namespace platform
