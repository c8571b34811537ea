// $ATTRIBUTE_LIST: when a file's attributes do not fit in one record, this
// list names the extension records that hold the rest. Building it reads
// those records and moves their objects of the selected types into the
// owning record's lists; the extension records stay alive in this object,
// because the moved objects point into their buffers.
#pragma once
#include <cstdint>

#include "ntfs/attr_base.h"
#include "ntfs/attr_nonresident.h"
#include "ntfs/file_record.h"
#include "ntfs/slist.h"

template <typename Base>
class CAttr_AttrList : public Base {
 public:
  static constexpr size_t kEntryReadSize = 32;
  // An entry shorter than the fixed part of an entry ends the list.
  static constexpr uint16_t kMinEntryLength = 0x1A;
  static constexpr uint32_t kMaxEntries = 65536;

  CAttr_AttrList(platform::ByteSpan attribute, CFileRecord& owner);
  CSList<CFileRecord>& GetExtensionRecords() { return ExtensionRecords; }

 private:
  bool FetchEntry(uint64_t offset, uint8_t* entry);
  void FollowEntries(CFileRecord& owner);

  CSList<CFileRecord> ExtensionRecords;
};

extern template class CAttr_AttrList<CAttrResident>;
extern template class CAttr_AttrList<CAttrNonResident>;
