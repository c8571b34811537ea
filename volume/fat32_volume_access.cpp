#include "volume/fat32_volume_access.h"

#include <cstring>
#include <cwchar>
#include <new>

#include "platform/byte_span.h"
#include "platform/diagnostics.h"
#include "platform/last_error.h"
#include "volume/device_reader.h"

namespace {

constexpr uint32_t kLargestSectorSize = 4096;

bool IsValidSectorSize(uint32_t size) { return size == 512 || size == 1024 || size == 2048 || size == 4096; }

}  // namespace

CFAT32VolumeAccess::CFAT32VolumeAccess(const wchar_t* driveLetter) {
  wchar_t devicePath[9];
  std::wcsncpy(devicePath, L"\\\\.\\", 7);
  devicePath[4] = driveLetter[0];
  devicePath[5] = L':';
  devicePath[6] = 0;

  VolumeHandle = platform::OpenVolumeDevice(devicePath);
  if (VolumeHandle == platform::kInvalidDevice) {
    platform::Diagnostic("Error opening connection to drive [%lc:]\n", static_cast<wint_t>(driveLetter[0]));
    throw "Error Creating accessing the volume";
  }

  uint32_t deviceSectorSize = 0;
  const bool geometryKnown = platform::QueryDeviceSectorSize(VolumeHandle, &deviceSectorSize);
  if (geometryKnown) {
    BytesPerSector = deviceSectorSize;
    platform::Diagnostic("Sector size is %d bytes\n", static_cast<int>(BytesPerSector));
  }

  // The boot sector: a whole sector of the largest size is read, so that the
  // read stays sector-aligned whatever the sector size turns out to be.
  platform::Diagnostic("Boot sector size = %d Bytes\n", static_cast<int>(kBootSectorCopySize));
  uint8_t bootSector[kLargestSectorSize];
  const uint32_t bootReadSize = geometryKnown && IsValidSectorSize(BytesPerSector) ? BytesPerSector : 512;
  if (!platform::SeekDevice(VolumeHandle, 0)) {
    platform::Diagnostic("SetPointer FAILED! 0x%X\n", platform::LastErrorCode());
    Close();
    throw "The boot sector of the volume could not be read";
  }
  uint32_t got = 0;
  if (!platform::ReadDevice(VolumeHandle, bootSector, bootReadSize, &got) || got < kBootSectorCopySize) {
    platform::Diagnostic("Error reading from the file 0x%X\n", platform::LastErrorCode());
    Close();
    throw "The boot sector of the volume could not be read";
  }
  std::memcpy(BootSectorCopy, bootSector, kBootSectorCopySize);

  // Refuse boot sectors that do not describe a FAT32 volume, before anything
  // is sized from them.
  const platform::ByteSpan boot(BootSectorCopy, kBootSectorCopySize);
  const uint32_t bootSectorSize = boot.U16At(11);
  const char* refusal = nullptr;
  if (!IsValidSectorSize(bootSectorSize)) {
    refusal = "Not a FAT32 volume: bytes per sector is not 512, 1024, 2048 or 4096";
  } else if (SectorsPerCluster() == 0 || (SectorsPerCluster() & (SectorsPerCluster() - 1)) != 0) {
    refusal = "Not a FAT32 volume: sectors per cluster is 0 or not a power of two";
  } else if (ReservedSectors() == 0) {
    refusal = "Not a FAT32 volume: the reserved sector count is 0";
  } else if (NumberOfFats() == 0) {
    refusal = "Not a FAT32 volume: the number of FATs is 0";
  } else if (boot.U16At(22) != 0) {
    refusal = "Not a FAT32 volume: it is a FAT12 or FAT16 volume";
  } else if (FatSizeSectors() == 0) {
    refusal = "Not a FAT32 volume: the FAT size is 0";
  } else if (TotalSectors() == 0) {
    refusal = "Not a FAT32 volume: the total sector count is 0";
  }
  if (refusal == nullptr) {
    if (!geometryKnown || !IsValidSectorSize(BytesPerSector)) {
      BytesPerSector = bootSectorSize;  // an image file has no geometry of its own
    } else if (BytesPerSector != bootSectorSize) {
      // The file system's own layout is counted in its own sectors.
      platform::Diagnostic("The boot sector gives %u bytes per sector; using it\n", bootSectorSize);
      BytesPerSector = bootSectorSize;
    }
    const uint64_t fatBytes = static_cast<uint64_t>(FatSizeSectors()) * BytesPerSector;
    const uint64_t fatEnd = (static_cast<uint64_t>(ReservedSectors()) + FatSizeSectors()) * BytesPerSector;
    uint64_t deviceSize = 0;
    if (fatBytes > kMaxFatBytes) {
      refusal = "Not a FAT32 volume: the FAT is larger than any FAT32 volume has";
    } else if (platform::QueryDeviceSize(VolumeHandle, &deviceSize)) {
      const uint64_t volumeSize = static_cast<uint64_t>(TotalSectors()) * BytesPerSector;
      if (fatEnd > deviceSize) {
        refusal = "Not a FAT32 volume, or a truncated one: the FAT reaches past the end of the device";
      } else if (volumeSize > deviceSize) {
        // Photos past the end would be lost without a word: say so instead.
        platform::Diagnostic("The boot sector gives %llu bytes; the device holds %llu\n",
                             static_cast<unsigned long long>(volumeSize), static_cast<unsigned long long>(deviceSize));
        refusal = "The volume is truncated: the device is smaller than its boot sector says";
      }
    }
  }
  if (refusal != nullptr) {
    platform::Diagnostic("%s\n", refusal);
    Close();
    throw refusal;
  }

  platform::Diagnostic("Reading FATs Data...");
  const uint32_t size = BytesPerSector * FatSizeSectors();
  FatEntryCount = size / 4;
  FatTable.reset(new (std::nothrow) uint32_t[FatEntryCount]);
  if (!FatTable) {
    platform::Diagnostic("\n");
    Close();
    throw "Not enough memory for the file allocation table";
  }
  const uint64_t fatOffset = static_cast<uint64_t>(ReservedSectors()) * BytesPerSector;
  uint8_t* fatBytes = reinterpret_cast<uint8_t*>(FatTable.get());
  if (!ReadDeviceAt(VolumeHandle, fatOffset, 0, fatBytes, size)) {
    Close();
    throw "The file allocation table could not be read";
  }
  // Entries are little-endian on disk.
  for (uint32_t i = 0; i < FatEntryCount; ++i) {
    const uint8_t* e = fatBytes + static_cast<size_t>(i) * 4;
    FatTable[i] = static_cast<uint32_t>(e[0]) | (static_cast<uint32_t>(e[1]) << 8) |
                  (static_cast<uint32_t>(e[2]) << 16) | (static_cast<uint32_t>(e[3]) << 24);
  }
  platform::Diagnostic("DONE!\n");

  BytesPerCluster = SectorsPerCluster() * BytesPerSector;
}

CFAT32VolumeAccess::~CFAT32VolumeAccess() { Close(); }

void CFAT32VolumeAccess::Close() {
  platform::CloseDevice(VolumeHandle);
  VolumeHandle = platform::kInvalidDevice;
}

uint32_t CFAT32VolumeAccess::FatSizeSectors() const {
  return platform::ByteSpan(BootSectorCopy, kBootSectorCopySize).U32At(36);
}

uint32_t CFAT32VolumeAccess::TotalSectors() const {
  const platform::ByteSpan boot(BootSectorCopy, kBootSectorCopySize);
  const uint16_t smallCount = boot.U16At(19);
  return smallCount != 0 ? smallCount : boot.U32At(32);
}

uint32_t CFAT32VolumeAccess::GetClusterCount() { return FatSizeSectors() * BytesPerSector / 4; }

uint32_t CFAT32VolumeAccess::GetBytesPerCluster() { return BytesPerCluster; }

uint32_t CFAT32VolumeAccess::GetBytesPerSector() { return BytesPerSector; }

bool CFAT32VolumeAccess::IsClusterUsed(uint32_t cluster) {
  return cluster >= FatEntryCount || FatTable[cluster] != 0;
}

uint32_t CFAT32VolumeAccess::ClusterToSector(uint32_t cluster) {
  return NumberOfFats() * FatSizeSectors() + SectorsPerCluster() * (cluster - 2);
}

bool CFAT32VolumeAccess::ReadSectors(uint32_t first, uint32_t last, uint8_t* buffer) {
  const uint64_t position = (static_cast<uint64_t>(ReservedSectors()) + first) * BytesPerSector;
  const uint64_t length = (static_cast<uint64_t>(last - first) + 1) * BytesPerSector;
  return ReadDeviceAt(VolumeHandle, position, first, buffer, length);
}

bool CFAT32VolumeAccess::ReadClusters(uint32_t first, uint32_t last, uint8_t* buffer) {
  const uint32_t sector = ClusterToSector(first);
  const uint64_t position = (static_cast<uint64_t>(ReservedSectors()) + sector) * BytesPerSector;
  const uint64_t length = (static_cast<uint64_t>(last - first) + 1) * BytesPerCluster;
  return ReadDeviceAt(VolumeHandle, position, sector, buffer, length);
}
