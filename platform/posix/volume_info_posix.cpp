// Without a system to ask, the file-system name is read from the boot sector,
// by the same marks the system itself goes by.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <cwchar>
#include <string>

#include "platform/drive_table.h"
#include "platform/file_system_name.h"
#include "platform/last_error.h"
#include "platform/volume_info.h"

namespace platform {

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
  const wchar_t* name = FileSystemNameFromBootSector(sector);
  if (name == nullptr) {
    SetLastErrorCode(EINVAL);  // no file system the system would recognise
    return false;
  }
  std::wcsncpy(nameBuffer, name, nameBufferLength - 1);
  nameBuffer[nameBufferLength - 1] = 0;
  return true;
}

}  // namespace platform
