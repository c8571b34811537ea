#include <windows.h>

#include <cwchar>
#include <string>

#include "platform/drive_table.h"
#include "platform/file_system_name.h"
#include "platform/text.h"
#include "platform/volume_info.h"

namespace platform {
namespace {

constexpr DWORD kNameBufferUnits = 34;

// An image file behind a mapped letter has no volume for the system to ask
// about: its boot sector tells.
const wchar_t* MappedImageFileSystem(const std::string& imagePath) {
  HANDLE file = CreateFileW(Utf8ToWide(imagePath).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  unsigned char sector[512];
  DWORD n = 0;
  const BOOL read = ReadFile(file, sector, sizeof sector, &n, nullptr);
  CloseHandle(file);
  if (!read || n != sizeof sector) return nullptr;
  return FileSystemNameFromBootSector(sector);
}

}  // namespace

bool QueryFileSystemName(const wchar_t* rootPath, wchar_t* nameBuffer, uint32_t nameBufferLength) {
  if (nameBufferLength == 0) return false;
  nameBuffer[0] = 0;
  const wchar_t letter = DriveLetterOfPath(rootPath);
  const std::string mapped = letter ? MappedDevicePath(letter) : std::string();

  wchar_t fileSystemName[kNameBufferUnits] = {0};
  if (!mapped.empty()) {
    const wchar_t* name = MappedImageFileSystem(mapped);
    if (name == nullptr) {
      SetLastError(ERROR_UNRECOGNIZED_VOLUME);
      return false;
    }
    std::wcsncpy(fileSystemName, name, kNameBufferUnits - 1);
  } else {
    wchar_t volumeName[kNameBufferUnits] = {0};
    DWORD maximumComponentLength = 0;
    if (!GetVolumeInformationW(rootPath, volumeName, kNameBufferUnits, nullptr, &maximumComponentLength, nullptr,
                               fileSystemName, kNameBufferUnits)) {
      return false;
    }
  }
  std::wcsncpy(nameBuffer, fileSystemName, nameBufferLength - 1);
  nameBuffer[nameBufferLength - 1] = 0;
  return true;
}

}  // namespace platform
