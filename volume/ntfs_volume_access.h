// An NTFS partition: a cluster is in use exactly when its bit in the volume's
// cluster bitmap ($Bitmap, MFT record 6) is set. The access holds nothing of
// its own; it answers from NtfsAccessGlobals, which the NTFS branch of the
// scan job fills just before building it (one NTFS scan at a time).
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "ntfs/file_record.h"
#include "ntfs/ntfs_volume.h"
#include "platform/device.h"
#include "volume/volume_access.h"

struct NtfsAccessGlobalValues {
  uint32_t BytesPerSector = 0;
  uint32_t BytesPerCluster = 0;
  // Clusters the scan may look at: the volume's clusters, cut to those whose
  // sectors can be numbered in 32 bits.
  uint32_t TotalClusters = 0;
  uint32_t SectorsPerCluster = 0;
  platform::DeviceHandle VolumeHandle = platform::kInvalidDevice;  // borrowed from the volume
  const uint8_t* ClusterBitmap = nullptr;                          // owned by the NTFS branch
  uint64_t ClusterBitmapSize = 0;                                  // bytes in ClusterBitmap
};

extern NtfsAccessGlobalValues NtfsAccessGlobals;

class CNTFSVolumeAccess : public CVolumeAccess {
 public:
  uint32_t GetClusterCount() override;
  uint32_t GetBytesPerCluster() override;
  uint32_t GetBytesPerSector() override;
  // Clusters past the end of the bitmap count as used, so nothing the bitmap
  // does not describe is read.
  bool IsClusterUsed(uint32_t cluster) override;
  uint32_t ClusterToSector(uint32_t cluster) override;
  bool ReadSectors(uint32_t first, uint32_t last, uint8_t* buffer) override;
  bool ReadClusters(uint32_t first, uint32_t last, uint8_t* buffer) override;

 private:
  bool ReadAtSector(uint32_t sector, uint8_t* buffer, uint64_t length);
};

// What the NTFS branch opens before a scan: the volume, the record of
// $Bitmap, and the cluster bitmap read whole into memory.
struct NtfsOpenedVolume {
  std::unique_ptr<CNTFSVolume> Volume;
  std::unique_ptr<CFileRecord> BitmapRecord;
  std::unique_ptr<uint8_t[]> ClusterBitmap;
  uint64_t ClusterBitmapSize = 0;
  std::string Error;  // why opening failed, in plain English
};

// The portion in which the bitmap is read.
constexpr uint32_t kBitmapPortionSize = 65536;

// Opens the volume of driveLetter, loads MFT record 6 and reads the cluster
// bitmap. On failure everything built is released and opened.Error says why.
bool OpenNtfsClusterBitmap(wchar_t driveLetter, NtfsOpenedVolume* opened);

// The largest bitmap a volume of this geometry may have: one bit per
// cluster, rounded up to 8 bytes, and a cluster more.
uint64_t LargestClusterBitmapSize(const CNTFSVolume& volume);

// Reads size bytes of the bitmap's value in portions into bitmap.
bool ReadClusterBitmap(CAttrBase& data, uint64_t size, uint8_t* bitmap);

// Fills NtfsAccessGlobals from an opened volume.
void FillNtfsAccessGlobals(const NtfsOpenedVolume& opened);
