// The file-system name of a drive, as the system reports it ("NTFS", "FAT32").
#pragma once
#include <cstdint>

namespace platform {

// rootPath is "X:\". Fills nameBuffer (nameBufferLength units, terminator
// included) and returns true; on failure the buffer holds an empty string.
bool QueryFileSystemName(const wchar_t* rootPath, wchar_t* nameBuffer, uint32_t nameBufferLength);

}  // namespace platform
