#include "platform/file_system_name.h"

#include <cstring>

namespace platform {

const wchar_t* FileSystemNameFromBootSector(const unsigned char* sector) {
  if (std::memcmp(sector + 3, "NTFS    ", 8) == 0) return L"NTFS";
  if (std::memcmp(sector + 3, "EXFAT   ", 8) == 0) return L"exFAT";
  const bool bootSignature = sector[510] == 0x55 && sector[511] == 0xAA;
  if (std::memcmp(sector + 82, "FAT32   ", 8) == 0) return L"FAT32";
  if (std::memcmp(sector + 54, "FAT", 3) == 0) return L"FAT";
  // A FAT32 boot sector without its type string still has no 16-bit FAT size
  // and no root directory entries.
  const unsigned fatSize16 = sector[22] | (sector[23] << 8);
  const unsigned fatSize32 = sector[36] | (sector[37] << 8) | (sector[38] << 16) | (static_cast<unsigned>(sector[39]) << 24);
  if (bootSignature && fatSize16 == 0 && fatSize32 != 0) return L"FAT32";
  return nullptr;
}

}  // namespace platform
