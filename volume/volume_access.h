// The engine's one view of a partition: geometry, which clusters the file
// system uses, and raw reads of sectors and clusters.
//
// Sector numbers are in each implementation's own numbering (FAT32: from the
// first sector after the reserved area; NTFS: from the boot sector), and
// ClusterToSector and ReadSectors always agree on it.
#pragma once
#include <cstdint>

class CVolumeAccess {
 public:
  virtual uint32_t GetClusterCount();
  virtual uint32_t GetBytesPerCluster();
  virtual uint32_t GetBytesPerSector();
  virtual bool IsClusterUsed(uint32_t cluster);
  virtual ~CVolumeAccess();
  virtual uint32_t ClusterToSector(uint32_t cluster);
  // Both reads fill (last - first + 1) sectors or clusters of buffer. They
  // return false when positioning or reading failed or delivered fewer bytes;
  // whatever was not read is zero-filled, so no stale bytes survive a failure.
  virtual bool ReadSectors(uint32_t first, uint32_t last, uint8_t* buffer);
  virtual bool ReadClusters(uint32_t first, uint32_t last, uint8_t* buffer);
};
