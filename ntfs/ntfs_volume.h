// An opened NTFS volume: the geometry from its boot sector, the open device,
// the NTFS version from the volume file (record 3) and the MFT's own record
// with its $DATA attribute, through which higher-numbered records are found.
#pragma once
#include <cstdint>
#include <memory>

#include "platform/byte_span.h"
#include "platform/device.h"

class CFileRecord;
class CAttrBase;

class CNTFSVolume {
 public:
  static constexpr uint32_t kBootSectorSize = 512;
  // Limits a volume must meet before anything is sized from its geometry.
  static constexpr uint32_t kMinSectorSize = 256;
  static constexpr uint32_t kMaxSectorSize = 4096;
  static constexpr uint32_t kMaxClusterSize = 2u * 1024 * 1024;
  static constexpr uint32_t kMinRecordSize = 256;
  static constexpr uint32_t kMaxRecordSize = 65536;
  static constexpr uint32_t kMinIndexBlockSize = 256;
  static constexpr uint32_t kMaxIndexBlockSize = 65536;
  static constexpr uint16_t kFirstSupportedVersion = 0x0300;

  // Opens the volume mapped to driveLetter and reads its version; see
  // IsUsable. Never throws.
  explicit CNTFSVolume(wchar_t driveLetter);
  virtual ~CNTFSVolume();
  CNTFSVolume(const CNTFSVolume&) = delete;
  CNTFSVolume& operator=(const CNTFSVolume&) = delete;

  // The first step of construction: opens the device and takes the geometry
  // from the boot sector. False (device closed) for anything but a sound NTFS
  // boot sector.
  bool OpenVolume(wchar_t driveLetter);

  // Takes the geometry from a 512-byte boot sector. deviceSize is the size
  // of the device in bytes, or 0 when it is not known. On refusal returns
  // false with *reason set.
  bool TakeGeometry(platform::ByteSpan bootSector, uint64_t deviceSize, const char** reason);

  bool IsUsable() const { return Usable; }
  // Why the volume is not usable, in plain English (empty when it is).
  const char* GetFailureReason() const { return FailureReason; }

  // Geometry and state; read-only to users once the constructor has returned.
  uint16_t BytesPerSector = 0;
  uint32_t BytesPerCluster = 0;
  uint64_t TotalSectors = 0;
  uint32_t SectorsPerCluster = 0;
  uint32_t FileRecordSize = 0;
  uint32_t IndexBlockSize = 0;
  uint64_t MftStartOffset = 0;
  platform::DeviceHandle VolumeHandle = platform::kInvalidDevice;
  bool Usable = false;
  uint16_t NtfsVersion = 0;
  std::unique_ptr<CFileRecord> MftRecord;
  CAttrBase* MftData = nullptr;  // borrowed from MftRecord

 private:
  void ReadVersionAndMft();
  void CloseHandle();

  const char* FailureReason = "";
};
