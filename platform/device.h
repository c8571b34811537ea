// Raw, read-only access to a volume: a partition, a block device or a disk
// image. Nothing in this program ever opens a volume for writing.
#pragma once
#include <cstdint>

namespace platform {

// An open volume. On Windows this is the HANDLE value, elsewhere a file
// descriptor; kInvalidDevice marks "not open" on both.
using DeviceHandle = intptr_t;
constexpr DeviceHandle kInvalidDevice = -1;

// Opens a volume by its device path "\\.\X:" for reading only, sharing read
// and write with others. On Windows the path goes to CreateFileW as it is;
// elsewhere the drive letter in it is looked up in the drive table
// (drive_table.h). Returns kInvalidDevice on failure (see LastErrorCode).
DeviceHandle OpenVolumeDevice(const wchar_t* devicePath);

// Sets the file position to an absolute byte offset from the start.
bool SeekDevice(DeviceHandle device, uint64_t byteOffset);

// Reads up to length bytes at the file position and advances it. A read that
// meets the end of the volume succeeds with fewer bytes; *bytesRead tells.
bool ReadDevice(DeviceHandle device, void* buffer, uint32_t length, uint32_t* bytesRead);

void CloseDevice(DeviceHandle device);

// Logical sector size reported by the device itself (drive geometry). Fails
// for an image file, which has no geometry of its own.
bool QueryDeviceSectorSize(DeviceHandle device, uint32_t* bytesPerSector);

// Size of the volume in bytes, when the system can tell.
bool QueryDeviceSize(DeviceHandle device, uint64_t* byteCount);

}  // namespace platform
