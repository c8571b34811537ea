// The file-system name a boot sector declares, by the same marks the system
// itself goes by ("NTFS", "FAT32", ...). Used where no system can be asked:
// image files mapped to drive letters.
#pragma once

namespace platform {

// sector holds the first 512 bytes of a volume. Returns nullptr when no known
// file system is recognised.
const wchar_t* FileSystemNameFromBootSector(const unsigned char* sector);

}  // namespace platform
