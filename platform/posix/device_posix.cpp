// Volumes outside Windows: block devices and image files named in the drive
// table, opened O_RDONLY and never written.
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/device.h"
#include "platform/drive_table.h"
#include "platform/last_error.h"

namespace platform {

DeviceHandle OpenVolumeDevice(const wchar_t* devicePath) {
  const wchar_t letter = DriveLetterOfPath(devicePath);
  const std::string path = letter ? MappedDevicePath(letter) : std::string();
  if (path.empty()) {
    SetLastErrorCode(ENOENT);
    return kInvalidDevice;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    SetLastErrorCode(static_cast<uint32_t>(errno));
    return kInvalidDevice;
  }
  ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  return fd;
}

bool SeekDevice(DeviceHandle device, uint64_t byteOffset) {
  if (byteOffset > static_cast<uint64_t>(INT64_MAX)) {
    SetLastErrorCode(EINVAL);
    return false;
  }
  if (::lseek(static_cast<int>(device), static_cast<off_t>(byteOffset), SEEK_SET) < 0) {
    SetLastErrorCode(static_cast<uint32_t>(errno));
    return false;
  }
  return true;
}

bool ReadDevice(DeviceHandle device, void* buffer, uint32_t length, uint32_t* bytesRead) {
  uint32_t total = 0;
  char* out = static_cast<char*>(buffer);
  while (total < length) {
    const ssize_t n = ::read(static_cast<int>(device), out + total, length - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      SetLastErrorCode(static_cast<uint32_t>(errno));
      if (bytesRead) *bytesRead = total;
      return false;
    }
    if (n == 0) break;  // end of the volume
    total += static_cast<uint32_t>(n);
  }
  if (bytesRead) *bytesRead = total;
  return true;
}

void CloseDevice(DeviceHandle device) {
  if (device != kInvalidDevice) ::close(static_cast<int>(device));
}

bool QueryDeviceSectorSize(DeviceHandle device, uint32_t* bytesPerSector) {
  int size = 0;
  if (::ioctl(static_cast<int>(device), BLKSSZGET, &size) != 0 || size <= 0) {
    SetLastErrorCode(static_cast<uint32_t>(errno ? errno : ENOTTY));
    return false;
  }
  *bytesPerSector = static_cast<uint32_t>(size);
  return true;
}

bool QueryDeviceSize(DeviceHandle device, uint64_t* byteCount) {
  struct stat st {};
  if (::fstat(static_cast<int>(device), &st) != 0) {
    SetLastErrorCode(static_cast<uint32_t>(errno));
    return false;
  }
  if (S_ISBLK(st.st_mode)) {
    uint64_t size = 0;
    if (::ioctl(static_cast<int>(device), BLKGETSIZE64, &size) != 0) {
      SetLastErrorCode(static_cast<uint32_t>(errno));
      return false;
    }
    *byteCount = size;
    return true;
  }
  if (S_ISREG(st.st_mode)) {
    *byteCount = static_cast<uint64_t>(st.st_size);
    return true;
  }
  SetLastErrorCode(ENOTSUP);
  return false;
}

}  // namespace platform
