// The drives of the machine and their kinds, for the partition list.
#pragma once
#include <cstdint>

namespace platform {

enum class DriveKind : uint32_t {
  Unknown = 0,
  NoRootDirectory = 1,
  Removable = 2,
  Fixed = 3,
  Remote = 4,
  CdRom = 5,
  RamDisk = 6,
};

// Bit n set: drive letter 'A' + n exists.
uint32_t LogicalDriveMask();

// rootPath is "X:\".
DriveKind DriveKindOf(const wchar_t* rootPath);

}  // namespace platform
