// One record of the master file table: read, checked, its update-sequence
// protection undone, and its attributes of the selected types turned into
// objects kept in one list per attribute type.
#pragma once
#include <cstdint>
#include <memory>

#include "ntfs/attr_base.h"
#include "ntfs/slist.h"

class CNTFSVolume;

class CFileRecord {
 public:
  static constexpr uint64_t kNoRecord = ~0ull;
  static constexpr uint32_t kTypeListCount = 16;
  // Attribute lists may lead from record to record; they are followed this
  // deep and through at most this many extension records per parse.
  static constexpr uint32_t kMaxNestingDepth = 4;
  static constexpr uint32_t kMaxExtensionRecords = 1024;

  // The type index of an attribute type code: (code >> 4) - 1, unsigned.
  static uint32_t TypeIndex(uint32_t typeCode) { return (typeCode >> 4) - 1; }

  explicit CFileRecord(const CNTFSVolume* volume);
  // An extension record read on behalf of parent's attribute list.
  CFileRecord(const CNTFSVolume* volume, CFileRecord* parent);
  virtual ~CFileRecord();
  CFileRecord(const CFileRecord&) = delete;
  CFileRecord& operator=(const CFileRecord&) = delete;

  bool LoadRecord(uint64_t recordNumber);
  void SetTypeMask(uint32_t mask) { TypeMask = mask; }
  bool ParseAttributes();
  CAttrBase* FirstOfType(uint32_t typeCode);
  CAttrBase* NextOfType(uint32_t typeCode);
  CAttrBase* FindUnnamedData();
  void ClearAttributes();

  const CNTFSVolume& GetVolume() const { return *Volume; }
  uint64_t GetRecordNumber() const { return RecordNumber; }
  uint32_t GetTypeMask() const { return TypeMask; }
  platform::ByteSpan GetRecordBytes() const { return platform::ByteSpan(RecordBuffer.get(), RecordSize); }
  CSList<CAttrBase>& TypeList(uint32_t index) { return TypeLists[index]; }
  uint32_t GetNestingDepth() const { return NestingDepth; }
  // Takes one extension record from the budget of the record the parse
  // started at; false when it is spent.
  bool TakeExtensionRecord();
  // Why the last LoadRecord or ParseAttributes failed, in plain English.
  const char* GetFailureReason() const { return FailureReason; }

 private:
  bool ReadRecordBytes(uint64_t recordNumber);
  bool ApplyFixup();
  bool BuildAttribute(platform::ByteSpan attribute);
  bool Fail(const char* reason) {
    FailureReason = reason;
    return false;
  }
  void ReleaseBuffer();

  const CNTFSVolume* Volume;
  std::unique_ptr<uint8_t[]> RecordBuffer;
  uint32_t RecordSize = 0;
  uint64_t RecordNumber = kNoRecord;
  uint32_t TypeMask = ~0u;
  CSList<CAttrBase> TypeLists[kTypeListCount];

  uint32_t NestingDepth = 0;
  CFileRecord* Root = this;  // the record whose parse reads this one
  uint32_t ExtensionRecordsLeft = kMaxExtensionRecords;
  const char* FailureReason = "";
};
