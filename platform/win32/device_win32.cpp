// Raw volumes on Windows: "\\.\X:" opened read-only. A letter mapped in the
// program's own drive table (an image file, for the tests) is opened the same
// way from its file instead.
#include <windows.h>
#include <winioctl.h>

#include <string>

#include "platform/device.h"
#include "platform/drive_table.h"
#include "platform/text.h"
#include "platform/win32/win32_handles.h"

namespace platform {
namespace {

constexpr DWORD kGeometryExIoctl = 0x700A0;  // IOCTL_DISK_GET_DRIVE_GEOMETRY_EX
constexpr DWORD kGeometryExSize = 40;        // DISK_GEOMETRY + disk size + one byte of data
constexpr size_t kBytesPerSectorOffset = 20;  // DISK_GEOMETRY::BytesPerSector

std::wstring PathToOpen(const wchar_t* devicePath) {
  const wchar_t letter = DriveLetterOfPath(devicePath);
  const std::string mapped = letter ? MappedDevicePath(letter) : std::string();
  return mapped.empty() ? std::wstring(devicePath) : Utf8ToWide(mapped);
}

}  // namespace

DeviceHandle OpenVolumeDevice(const wchar_t* devicePath) {
  const std::wstring path = PathToOpen(devicePath);
  HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_READONLY, nullptr);
  return handle == INVALID_HANDLE_VALUE ? kInvalidDevice : FromHandle(handle);
}

bool SeekDevice(DeviceHandle device, uint64_t byteOffset) {
  LONG high = static_cast<LONG>(byteOffset >> 32);
  const LONG low = static_cast<LONG>(static_cast<uint32_t>(byteOffset));
  SetLastError(NO_ERROR);
  const DWORD result = SetFilePointer(ToHandle(device), low, &high, FILE_BEGIN);
  return !(result == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR);
}

bool ReadDevice(DeviceHandle device, void* buffer, uint32_t length, uint32_t* bytesRead) {
  uint32_t total = 0;
  char* out = static_cast<char*>(buffer);
  bool ok = true;
  while (total < length) {
    DWORD n = 0;
    if (!ReadFile(ToHandle(device), out + total, length - total, &n, nullptr)) {
      ok = false;
      break;
    }
    if (n == 0) break;  // end of the volume
    total += n;
  }
  if (bytesRead) *bytesRead = total;
  return ok;
}

void CloseDevice(DeviceHandle device) {
  if (device != kInvalidDevice) CloseHandle(ToHandle(device));
}

bool QueryDeviceSectorSize(DeviceHandle device, uint32_t* bytesPerSector) {
  unsigned char geometry[kGeometryExSize] = {};
  DWORD returned = 0;
  if (!DeviceIoControl(ToHandle(device), kGeometryExIoctl, nullptr, 0, geometry, kGeometryExSize, &returned, nullptr) ||
      returned < kBytesPerSectorOffset + 4) {
    return false;
  }
  const uint32_t size = geometry[kBytesPerSectorOffset] | (geometry[kBytesPerSectorOffset + 1] << 8) |
                        (geometry[kBytesPerSectorOffset + 2] << 16) |
                        (static_cast<uint32_t>(geometry[kBytesPerSectorOffset + 3]) << 24);
  if (size == 0) return false;
  *bytesPerSector = size;
  return true;
}

bool QueryDeviceSize(DeviceHandle device, uint64_t* byteCount) {
  GET_LENGTH_INFORMATION length {};
  DWORD returned = 0;
  if (DeviceIoControl(ToHandle(device), IOCTL_DISK_GET_LENGTH_INFO, nullptr, 0, &length, sizeof length, &returned,
                      nullptr)) {
    *byteCount = static_cast<uint64_t>(length.Length.QuadPart);
    return true;
  }
  LARGE_INTEGER size {};
  if (!GetFileSizeEx(ToHandle(device), &size) || size.QuadPart <= 0) return false;
  *byteCount = static_cast<uint64_t>(size.QuadPart);
  return true;
}

}  // namespace platform
