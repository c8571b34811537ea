// Builds small synthetic NTFS volumes in memory for the tests and fuzz
// targets: a boot sector, MFT records with their update-sequence fix-up, and
// resident and non-resident attributes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct NtfsBootFields {
  uint16_t bytesPerSector = 512;
  uint8_t sectorsPerCluster = 8;
  int8_t clustersPerRecord = -10;  // 1024-byte records
  int8_t clustersPerIndexBlock = 1;
  uint64_t totalSectors = 4096;
  uint64_t mftCluster = 4;
  const char* oem = "NTFS    ";
};

Bytes MakeNtfsBootSector(const NtfsBootFields& fields);

// Little-endian helpers.
void PutU16(Bytes& b, size_t at, uint16_t v);
void PutU32(Bytes& b, size_t at, uint32_t v);
void PutU64(Bytes& b, size_t at, uint64_t v);
Bytes Utf16(const std::u16string& text);

// Attribute values.
Bytes StdInfoValue(uint32_t fileFlags);
Bytes VolInfoValue(uint8_t major, uint8_t minor);
Bytes FileNameValue(const std::u16string& name);
// One $ATTRIBUTE_LIST entry naming the record that holds an attribute.
Bytes AttrListEntry(uint32_t type, uint64_t recordNumber, uint16_t length = 32);
// One index entry; an empty key makes the closing entry (flag 0x02).
Bytes IndexEntry(const Bytes& key, bool last);
// An $INDEX_ROOT value over the given entries.
Bytes IndexRootValue(uint32_t indexedType, const std::vector<Bytes>& entries);

// Whole attributes (header and value or runs), ready to place in a record.
Bytes ResidentAttribute(uint32_t type, const Bytes& value, const std::u16string& name = u"");
Bytes NonResidentAttribute(uint32_t type, const Bytes& runs, uint64_t lastVcn, uint64_t realSize,
                           const std::u16string& name = u"", uint64_t startVcn = 0);

class NtfsRecordBuilder {
 public:
  explicit NtfsRecordBuilder(uint32_t recordSize = 1024, uint16_t sectorSize = 512);
  NtfsRecordBuilder& Add(const Bytes& attribute);
  // The record with "FILE", the attributes, the end marker and the fix-up
  // applied (every sector's last word replaced by the sequence number).
  Bytes Build(uint16_t sequenceNumber = 1) const;
  // The offset at which the first attribute is placed.
  uint16_t FirstAttributeOffset() const;

 private:
  uint32_t recordSize_;
  uint16_t sectorSize_;
  std::vector<Bytes> attributes_;
};

// A whole volume: 4096-byte clusters of 512-byte sectors, 1024-byte records,
// the MFT at cluster 4 with 32 records, and records 0 ($MFT with $DATA over
// the MFT), 3 (version 3.1) and 6 ($Bitmap, its value at cluster 12) filled.
class NtfsImageBuilder {
 public:
  static constexpr uint32_t kClusterSize = 4096;
  static constexpr uint32_t kRecordSize = 1024;
  static constexpr uint64_t kMftCluster = 4;
  static constexpr uint64_t kMftRecords = 32;
  static constexpr uint64_t kBitmapCluster = 12;

  explicit NtfsImageBuilder(uint64_t clusters = 512);

  Bytes& bytes() { return bytes_; }
  const NtfsBootFields& boot() const { return boot_; }
  uint64_t RecordOffset(uint64_t n) const { return kMftCluster * kClusterSize + n * kRecordSize; }
  void SetRecord(uint64_t n, const Bytes& record);
  void Write(uint64_t offset, const Bytes& data);
  void SetBootSector(const NtfsBootFields& fields);
  // Record 6 with an unnamed $DATA of bitmapSize bytes at kBitmapCluster,
  // and those bytes written there.
  void SetBitmap(const Bytes& bitmap);
  // Record 3 with the given version.
  void SetVersion(uint8_t major, uint8_t minor);

 private:
  NtfsBootFields boot_;
  Bytes bytes_;
};

// Data runs for one extent of count clusters at lcn, then the end marker.
Bytes SingleRun(uint64_t lcn, uint64_t count);
