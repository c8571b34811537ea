// Without a system to ask, the file-system name is read from the boot sector,
// by the same marks the system itself goes by.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <cwchar>
#include <string>

#include "platform/drive_table.h"
#include "platform/last_error.h"
#include "platform/volume_info.h"

namespace platform {
namespace {

const wchar_t* NameFromBootSector(const unsigned char* sector) {
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

}  // namespace

bool QueryFileSystemName(const wchar_t* rootPath, wchar_t* nameBuffer, uint32_t nameBufferLength) {
  if (nameBufferLength == 0) return false;
  nameBuffer[0] = 0;
  const wchar_t letter = DriveLetterOfPath(rootPath);
  const std::string path = letter ? MappedDevicePath(letter) : std::string();
  if (path.empty()) {
    SetLastErrorCode(ENOENT);
    return false;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    SetLastErrorCode(static_cast<uint32_t>(errno));
    return false;
  }
  unsigned char sector[512];
  const ssize_t n = ::pread(fd, sector, sizeof sector, 0);
  const int readError = errno;
  ::close(fd);
  if (n != static_cast<ssize_t>(sizeof sector)) {
    SetLastErrorCode(n < 0 ? static_cast<uint32_t>(readError) : EIO);
    return false;
  }
  const wchar_t* name = NameFromBootSector(sector);
  if (name == nullptr) {
    SetLastErrorCode(EINVAL);  // no file system the system would recognise
    return false;
  }
  std::wcsncpy(nameBuffer, name, nameBufferLength - 1);
  nameBuffer[nameBufferLength - 1] = 0;
  return true;
}

}  // namespace platform
