#include "volume/ntfs_volume_access.h"

#include <cstring>
#include <new>

#include "ntfs/attr_base.h"
#include "volume/device_reader.h"

NtfsAccessGlobalValues NtfsAccessGlobals;

uint32_t CNTFSVolumeAccess::GetClusterCount() { return NtfsAccessGlobals.TotalClusters; }

uint32_t CNTFSVolumeAccess::GetBytesPerCluster() { return NtfsAccessGlobals.BytesPerCluster; }

uint32_t CNTFSVolumeAccess::GetBytesPerSector() { return NtfsAccessGlobals.BytesPerSector; }

bool CNTFSVolumeAccess::IsClusterUsed(uint32_t cluster) {
  const uint32_t byte = cluster / 8;
  if (cluster >= NtfsAccessGlobals.TotalClusters || byte >= NtfsAccessGlobals.ClusterBitmapSize) return true;
  return (NtfsAccessGlobals.ClusterBitmap[byte] >> (cluster % 8)) & 1;
}

uint32_t CNTFSVolumeAccess::ClusterToSector(uint32_t cluster) {
  return cluster * NtfsAccessGlobals.SectorsPerCluster;
}

bool CNTFSVolumeAccess::ReadSectors(uint32_t first, uint32_t last, uint8_t* buffer) {
  const uint64_t length = (static_cast<uint64_t>(last - first) + 1) * NtfsAccessGlobals.BytesPerSector;
  return ReadAtSector(first, buffer, length);
}

bool CNTFSVolumeAccess::ReadClusters(uint32_t first, uint32_t last, uint8_t* buffer) {
  const uint32_t sector = ClusterToSector(first);
  const uint64_t length = (static_cast<uint64_t>(last - first) + 1) * NtfsAccessGlobals.BytesPerCluster;
  return ReadAtSector(sector, buffer, length);
}

bool CNTFSVolumeAccess::ReadAtSector(uint32_t sector, uint8_t* buffer, uint64_t length) {
  const uint64_t position = static_cast<uint64_t>(sector) * NtfsAccessGlobals.BytesPerSector;
  return ReadDeviceAt(NtfsAccessGlobals.VolumeHandle, position, sector, buffer, length);
}

uint64_t LargestClusterBitmapSize(const CNTFSVolume& volume) {
  const uint64_t clusters = volume.TotalSectors / volume.SectorsPerCluster;
  const uint64_t bytes = clusters / 8 + (clusters % 8 != 0);
  return (bytes + 7) / 8 * 8 + volume.BytesPerCluster;
}

bool ReadClusterBitmap(CAttrBase& data, uint64_t size, uint8_t* bitmap) {
  std::unique_ptr<uint8_t[]> portion(new (std::nothrow) uint8_t[kBitmapPortionSize]);
  if (!portion) return false;
  uint64_t offset = 0;
  uint64_t remaining = size;
  uint8_t* write = bitmap;
  while (offset < size) {
    uint32_t got = 0;
    if (!data.ReadValue(offset, portion.get(), kBitmapPortionSize, &got)) return false;
    // Every portion is whole but the last, which holds exactly the rest.
    if (got != kBitmapPortionSize && got != remaining) return false;
    std::memcpy(write, portion.get(), got);
    remaining -= got;
    write += got;
    offset += kBitmapPortionSize;
  }
  return remaining == 0;
}

namespace {

bool Refuse(NtfsOpenedVolume* opened, const std::string& reason) {
  opened->BitmapRecord.reset();
  opened->Volume.reset();
  opened->ClusterBitmap.reset();
  opened->ClusterBitmapSize = 0;
  opened->Error = reason;
  return false;
}

}  // namespace

bool OpenNtfsClusterBitmap(wchar_t driveLetter, NtfsOpenedVolume* opened) {
  opened->Volume.reset(new CNTFSVolume(driveLetter));
  if (!opened->Volume->IsUsable()) return Refuse(opened, opened->Volume->GetFailureReason());

  opened->BitmapRecord.reset(new CFileRecord(opened->Volume.get()));
  CFileRecord& record = *opened->BitmapRecord;
  if (!record.LoadRecord(6)) {
    return Refuse(opened, std::string("MFT record 6 ($Bitmap) is unusable: ") + record.GetFailureReason());
  }
  record.SetTypeMask(131);
  if (!record.ParseAttributes()) {
    return Refuse(opened, std::string("the attributes of MFT record 6 ($Bitmap) are unusable: ") +
                              record.GetFailureReason());
  }
  CAttrBase* data = record.FindUnnamedData();
  if (data == nullptr) return Refuse(opened, "MFT record 6 ($Bitmap) has no unnamed $DATA attribute");

  const uint64_t size = data->GetValueSize();
  // Every volume has clusters in use (the boot sector, the MFT): an empty
  // bitmap is a damaged one.
  if (size == 0) return Refuse(opened, "the cluster bitmap ($Bitmap) is empty; the volume is damaged");
  // A damaged size must not decide how much is allocated.
  if (size > LargestClusterBitmapSize(*opened->Volume)) {
    return Refuse(opened, "the cluster bitmap ($Bitmap) is larger than the volume needs; the volume is damaged");
  }
  opened->ClusterBitmap.reset(new (std::nothrow) uint8_t[size]);
  if (!opened->ClusterBitmap) return Refuse(opened, "not enough memory for the cluster bitmap");
  opened->ClusterBitmapSize = size;
  if (!ReadClusterBitmap(*data, size, opened->ClusterBitmap.get())) {
    return Refuse(opened, "the cluster bitmap ($Bitmap) could not be read");
  }
  return true;
}

void FillNtfsAccessGlobals(const NtfsOpenedVolume& opened) {
  const CNTFSVolume& volume = *opened.Volume;
  NtfsAccessGlobals.BytesPerSector = volume.BytesPerSector;
  NtfsAccessGlobals.BytesPerCluster = volume.BytesPerCluster;
  // Sector numbers are 32-bit: clusters whose sectors lie past 2^32 - 1 are
  // left out of the scan rather than read at a wrapped position.
  const uint64_t clusters = volume.TotalSectors / volume.SectorsPerCluster;
  const uint64_t numberable = (1ull << 32) / volume.SectorsPerCluster;
  const uint64_t covered = clusters < numberable ? clusters : numberable;
  NtfsAccessGlobals.TotalClusters = covered > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(covered);
  NtfsAccessGlobals.SectorsPerCluster = volume.SectorsPerCluster;
  NtfsAccessGlobals.VolumeHandle = volume.VolumeHandle;
  NtfsAccessGlobals.ClusterBitmap = opened.ClusterBitmap.get();
  NtfsAccessGlobals.ClusterBitmapSize = opened.ClusterBitmapSize;
}
