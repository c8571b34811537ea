#include "ntfs/ntfs_volume.h"

#include <cwctype>
#include <cwchar>

#include "ntfs/attr_typed.h"
#include "ntfs/file_record.h"

namespace {

bool IsPowerOfTwo(uint64_t v) { return v != 0 && (v & (v - 1)) == 0; }

// Records and index blocks are sized by a signed byte: v clusters when v is
// positive, else 2^-v bytes. Sizes that do not fit 32 bits come out as 0.
uint32_t SizeFromClustersOrShift(int8_t v, uint32_t bytesPerCluster) {
  if (v > 0) return static_cast<uint32_t>(v) * bytesPerCluster;  // at most 127 x 2 MiB
  const int shift = -static_cast<int>(v);
  return shift < 32 ? (1u << shift) : 0;
}

// The sectors-per-cluster byte: a plain count up to 0x80; above that, newer
// formatters store 2^(256 - v) for clusters larger than 128 sectors.
uint32_t DecodeSectorsPerCluster(uint8_t v) {
  if (v <= 0x80) return v;
  const int shift = 256 - static_cast<int>(v);
  return shift < 32 ? (1u << shift) : 0;
}

}  // namespace

CNTFSVolume::CNTFSVolume(wchar_t driveLetter) {
  if (!OpenVolume(driveLetter)) return;
  ReadVersionAndMft();
}

CNTFSVolume::~CNTFSVolume() {
  CloseHandle();
  MftData = nullptr;
  MftRecord.reset();
}

void CNTFSVolume::CloseHandle() {
  if (VolumeHandle != platform::kInvalidDevice) platform::CloseDevice(VolumeHandle);
  VolumeHandle = platform::kInvalidDevice;
}

bool CNTFSVolume::OpenVolume(wchar_t driveLetter) {
  if (!std::iswalpha(static_cast<wint_t>(driveLetter))) {
    FailureReason = "the drive letter is not a letter";
    return false;
  }
  const wchar_t devicePath[7] = {L'\\', L'\\', L'.', L'\\', driveLetter, L':', 0};
  VolumeHandle = platform::OpenVolumeDevice(devicePath);
  if (VolumeHandle == platform::kInvalidDevice) {
    FailureReason = "the volume could not be opened";
    return false;
  }
  uint8_t boot[kBootSectorSize];
  uint32_t got = 0;
  if (!platform::SeekDevice(VolumeHandle, 0) || !platform::ReadDevice(VolumeHandle, boot, sizeof boot, &got) ||
      got != sizeof boot) {
    FailureReason = "the boot sector could not be read";
    CloseHandle();
    return false;
  }
  uint64_t deviceSize = 0;
  if (!platform::QueryDeviceSize(VolumeHandle, &deviceSize)) deviceSize = 0;
  const char* reason = "";
  if (!TakeGeometry(platform::ByteSpan(boot, sizeof boot), deviceSize, &reason)) {
    FailureReason = reason;
    CloseHandle();
    return false;
  }
  return true;
}

bool CNTFSVolume::TakeGeometry(platform::ByteSpan boot, uint64_t deviceSize, const char** reason) {
  if (!boot.Equals(3, "NTFS    ", 8)) {
    *reason = "not an NTFS volume (the boot sector has no NTFS identifier)";
    return false;
  }
  const uint16_t bytesPerSector = boot.U16At(11);
  if (!IsPowerOfTwo(bytesPerSector) || bytesPerSector < kMinSectorSize || bytesPerSector > kMaxSectorSize) {
    *reason = "damaged NTFS boot sector: bytes per sector is not a power of two from 256 to 4096";
    return false;
  }
  const uint32_t sectorsPerCluster = DecodeSectorsPerCluster(boot.U8At(13));
  if (!IsPowerOfTwo(sectorsPerCluster) ||
      static_cast<uint64_t>(sectorsPerCluster) * bytesPerSector > kMaxClusterSize) {
    *reason = "damaged NTFS boot sector: the cluster size is 0, not a power of two, or above 2 MiB";
    return false;
  }
  const uint32_t bytesPerCluster = sectorsPerCluster * bytesPerSector;
  const uint32_t recordSize = SizeFromClustersOrShift(static_cast<int8_t>(boot.U8At(64)), bytesPerCluster);
  if (recordSize < kMinRecordSize || recordSize > kMaxRecordSize) {
    *reason = "damaged NTFS boot sector: the file record size is not from 256 bytes to 64 KiB";
    return false;
  }
  const uint32_t indexBlockSize = SizeFromClustersOrShift(static_cast<int8_t>(boot.U8At(68)), bytesPerCluster);
  if (indexBlockSize < kMinIndexBlockSize || indexBlockSize > kMaxIndexBlockSize) {
    *reason = "damaged NTFS boot sector: the index block size is not from 256 bytes to 64 KiB";
    return false;
  }
  const uint64_t totalSectors = boot.U64At(40);
  const uint64_t totalClusters = totalSectors / sectorsPerCluster;
  if (totalClusters == 0) {
    *reason = "damaged NTFS boot sector: the volume has no clusters";
    return false;
  }
  if (deviceSize != 0 && totalSectors > deviceSize / bytesPerSector) {
    *reason = "the volume is truncated: the boot sector gives more sectors than the device holds";
    return false;
  }
  const uint64_t mftCluster = boot.U64At(48);
  if (mftCluster >= totalClusters) {
    *reason = "damaged NTFS boot sector: the MFT lies outside the volume";
    return false;
  }
  BytesPerSector = bytesPerSector;
  SectorsPerCluster = sectorsPerCluster;
  BytesPerCluster = bytesPerCluster;
  TotalSectors = totalSectors;
  FileRecordSize = recordSize;
  IndexBlockSize = indexBlockSize;
  MftStartOffset = mftCluster * bytesPerCluster;  // below TotalSectors x sector size: no overflow
  return true;
}

void CNTFSVolume::ReadVersionAndMft() {
  {
    CFileRecord volumeFile(this);
    volumeFile.SetTypeMask(99);
    if (!volumeFile.LoadRecord(3)) {
      FailureReason = "the volume file (MFT record 3) could not be read or is damaged";
      return;
    }
    volumeFile.ParseAttributes();
    CAttrBase* first = volumeFile.FirstOfType(0x70);
    CAttr_VolInfo* info = dynamic_cast<CAttr_VolInfo*>(first);
    if (info == nullptr) {
      FailureReason = "the volume file (MFT record 3) has no $VOLUME_INFORMATION";
      return;
    }
    NtfsVersion = info->GetVersion();
    if (NtfsVersion < kFirstSupportedVersion) {
      FailureReason = "the NTFS version is older than 3.0 (Windows 2000); such volumes are not supported";
      return;
    }
  }
  Usable = true;
  FailureReason = "";

  MftRecord.reset(new CFileRecord(this));
  MftRecord->SetTypeMask(131);
  if (!MftRecord->LoadRecord(0)) return;
  MftRecord->ParseAttributes();
  MftData = MftRecord->FirstOfType(0x80);
  if (MftData == nullptr) MftRecord.reset();
}
