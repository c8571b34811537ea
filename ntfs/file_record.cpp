#include "ntfs/file_record.h"

#include <new>

#include "ntfs/attribute_factory.h"
#include "ntfs/attr_typed.h"
#include "ntfs/ntfs_volume.h"

namespace {

constexpr size_t kUpdateSequenceOffsetField = 0x04;
constexpr size_t kFirstAttributeOffsetField = 0x14;
constexpr uint32_t kEndOfAttributes = 0xFFFFFFFF;
constexpr uint32_t kCompressedFlag = 0x800;
constexpr uint32_t kEncryptedFlag = 0x4000;
constexpr uint32_t kFirstRecordThroughMftData = 16;

}  // namespace

CFileRecord::CFileRecord(const CNTFSVolume* volume) : Volume(volume) {}

CFileRecord::CFileRecord(const CNTFSVolume* volume, CFileRecord* parent)
    : Volume(volume), NestingDepth(parent->NestingDepth + 1), Root(parent->Root) {}

CFileRecord::~CFileRecord() {
  ClearAttributes();
  ReleaseBuffer();
}

void CFileRecord::ReleaseBuffer() {
  RecordBuffer.reset();
  RecordSize = 0;
}

bool CFileRecord::TakeExtensionRecord() {
  if (Root->ExtensionRecordsLeft == 0) return false;
  --Root->ExtensionRecordsLeft;
  return true;
}

bool CFileRecord::ReadRecordBytes(uint64_t n) {
  const uint32_t size = Volume->FileRecordSize;
  if (size == 0) return false;
  if (n >= kFirstRecordThroughMftData && Volume->MftData != nullptr) {
    if (n > UINT64_MAX / size) return false;
    RecordBuffer.reset(new (std::nothrow) uint8_t[size]);
    if (!RecordBuffer) return false;
    const uint64_t offset = n * size;
    uint32_t got = 0;
    if (!Volume->MftData->ReadValue(offset, RecordBuffer.get(), size, &got) || got != size) {
      ReleaseBuffer();
      return false;
    }
  } else {
    if (n > (UINT64_MAX - Volume->MftStartOffset) / size) return false;
    if (!platform::SeekDevice(Volume->VolumeHandle, Volume->MftStartOffset + n * size)) return false;
    RecordBuffer.reset(new (std::nothrow) uint8_t[size]);
    if (!RecordBuffer) return false;
    uint32_t got = 0;
    if (!platform::ReadDevice(Volume->VolumeHandle, RecordBuffer.get(), size, &got) || got != size) {
      ReleaseBuffer();
      return false;
    }
  }
  RecordSize = size;
  return true;
}

bool CFileRecord::ApplyFixup() {
  platform::ByteSpan record(RecordBuffer.get(), RecordSize);
  const uint32_t sectorSize = Volume->BytesPerSector;
  if (sectorSize < 2) return false;
  const uint32_t sectors = RecordSize / sectorSize;
  const uint16_t arrayOffset = record.U16At(kUpdateSequenceOffsetField);
  // The sequence number and one saved word per sector must lie in the record.
  if (!record.Contains(arrayOffset, 2 + 2 * static_cast<size_t>(sectors))) return false;
  const uint16_t sequenceNumber = record.U16At(arrayOffset);
  // Every check word is verified before any is replaced.
  for (uint32_t i = 0; i < sectors; ++i) {
    if (record.U16At(static_cast<size_t>(i) * sectorSize + sectorSize - 2) != sequenceNumber) return false;
  }
  uint8_t* bytes = RecordBuffer.get();
  for (uint32_t i = 0; i < sectors; ++i) {
    const size_t end = static_cast<size_t>(i) * sectorSize + sectorSize - 2;
    const size_t saved = arrayOffset + 2 + 2 * static_cast<size_t>(i);
    bytes[end] = bytes[saved];
    bytes[end + 1] = bytes[saved + 1];
  }
  return true;
}

bool CFileRecord::LoadRecord(uint64_t recordNumber) {
  ClearAttributes();
  ReleaseBuffer();
  FailureReason = "";
  if (!ReadRecordBytes(recordNumber)) {
    RecordNumber = kNoRecord;
    return Fail("the record could not be read");
  }
  RecordNumber = recordNumber;
  if (!platform::ByteSpan(RecordBuffer.get(), RecordSize).Equals(0, "FILE", 4)) {
    ReleaseBuffer();
    return Fail("the record has no FILE signature");
  }
  if (!ApplyFixup()) {
    ReleaseBuffer();
    return Fail("the record's update sequence does not match (a torn or damaged record)");
  }
  return true;
}

bool CFileRecord::ParseAttributes() {
  ClearAttributes();
  FailureReason = "";
  if (!RecordBuffer) return Fail("no record is loaded");
  if (Root == this) ExtensionRecordsLeft = kMaxExtensionRecords;
  const platform::ByteSpan record(RecordBuffer.get(), RecordSize);
  size_t offset = record.U16At(kFirstAttributeOffsetField);
  for (;;) {
    uint32_t type = 0;
    if (!record.U32(offset, &type)) return Fail("an attribute header lies outside the record");
    if (type == kEndOfAttributes) return true;
    uint32_t length = 0;
    if (!record.U32(offset + attr_header::kLength, &length)) {
      return Fail("an attribute header lies outside the record");
    }
    if (static_cast<uint64_t>(offset) + length > RecordSize) return true;
    // A length shorter than the common header would never move the walk on.
    if (length < attr_header::kCommonSize) return Fail("an attribute is shorter than its header");
    const uint32_t index = TypeIndex(type);
    if ((TypeMask >> (index % 32)) & 1) {
      if (!BuildAttribute(record.Sub(offset, length))) return false;
      CAttr_StdInfo* info = dynamic_cast<CAttr_StdInfo*>(TypeLists[0].First());
      if (info != nullptr) {
        const uint32_t flags = info->GetFileFlags();
        if (flags & kEncryptedFlag) return Fail("the file is encrypted");
        if (flags & kCompressedFlag) return Fail("the file is compressed");
      }
    }
    offset += length;
  }
}

bool CFileRecord::BuildAttribute(platform::ByteSpan attribute) {
  const uint32_t index = TypeIndex(attribute.U32At(attr_header::kType));
  if (index >= kTypeListCount) return Fail("an attribute has a type this program does not know");
  CAttrBase* object = CreateAttribute(attribute, *this);
  if (object == nullptr) return Fail("an attribute header is damaged");
  if (!TypeLists[index].Append(object)) {
    delete object;
    return Fail("not enough memory for the attributes");
  }
  return true;
}

CAttrBase* CFileRecord::FirstOfType(uint32_t typeCode) {
  const uint32_t index = TypeIndex(typeCode);
  return index < kTypeListCount ? TypeLists[index].First() : nullptr;
}

CAttrBase* CFileRecord::NextOfType(uint32_t typeCode) {
  const uint32_t index = TypeIndex(typeCode);
  return index < kTypeListCount ? TypeLists[index].Next() : nullptr;
}

CAttrBase* CFileRecord::FindUnnamedData() {
  CSList<CAttrBase>& list = TypeLists[TypeIndex(0x80)];
  for (CAttrBase* attribute = list.First(); attribute != nullptr; attribute = list.Next()) {
    if (attribute->NameLength() == 0) return attribute;
  }
  return nullptr;
}

void CFileRecord::ClearAttributes() {
  for (CSList<CAttrBase>& list : TypeLists) list.RemoveAll();
}
