// A FAT32 partition: a cluster is in use exactly when its entry in the first
// file allocation table is not zero. The whole FAT is held in memory.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/device.h"
#include "volume/volume_access.h"

class CFAT32VolumeAccess : public CVolumeAccess {
 public:
  static constexpr size_t kBootSectorCopySize = 90;
  // The largest FAT of a FAT32 volume: 2^28 entries of 4 bytes.
  static constexpr uint64_t kMaxFatBytes = (1ull << 28) * 4;

  // driveLetter is a one-character string ("C"). Throws a plain text (const
  // char*) when the volume cannot be opened or its boot sector does not
  // describe a FAT32 volume.
  explicit CFAT32VolumeAccess(const wchar_t* driveLetter);
  ~CFAT32VolumeAccess() override;
  CFAT32VolumeAccess(const CFAT32VolumeAccess&) = delete;
  CFAT32VolumeAccess& operator=(const CFAT32VolumeAccess&) = delete;

  uint32_t GetClusterCount() override;
  uint32_t GetBytesPerCluster() override;
  uint32_t GetBytesPerSector() override;
  bool IsClusterUsed(uint32_t cluster) override;
  uint32_t ClusterToSector(uint32_t cluster) override;
  bool ReadSectors(uint32_t first, uint32_t last, uint8_t* buffer) override;
  bool ReadClusters(uint32_t first, uint32_t last, uint8_t* buffer) override;

 private:
  // Sector n of this access lies at byte (reserved sectors + n) x sector size.
  uint8_t SectorsPerCluster() const { return BootSectorCopy[13]; }
  uint16_t ReservedSectors() const { return static_cast<uint16_t>(BootSectorCopy[14] | (BootSectorCopy[15] << 8)); }
  uint8_t NumberOfFats() const { return BootSectorCopy[16]; }
  uint32_t FatSizeSectors() const;
  uint32_t TotalSectors() const;
  void Close();

  platform::DeviceHandle VolumeHandle = platform::kInvalidDevice;
  uint32_t BytesPerSector = 0;
  uint8_t BootSectorCopy[kBootSectorCopySize] = {};
  uint32_t BytesPerCluster = 0;
  std::unique_ptr<uint32_t[]> FatTable;
  uint32_t FatEntryCount = 0;
};
