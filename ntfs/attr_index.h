// Directory indexes: the entries of a resident $INDEX_ROOT (each with its
// upper-cased $FILE_NAME key) and the block count of an $INDEX_ALLOCATION.
#pragma once
#include <cstdint>

#include "ntfs/attr_base.h"
#include "ntfs/attr_nonresident.h"
#include "ntfs/file_name.h"
#include "ntfs/slist.h"

class CIndexEntry : public CFileName {
 public:
  // entry spans the raw index entry inside the record (not owned).
  explicit CIndexEntry(platform::ByteSpan entry);
  const uint8_t* GetRawEntry() const { return Entry.data(); }
  uint16_t GetEntryLength() const { return Entry.U16At(0x08); }
  uint8_t GetFlags() const { return Entry.U8At(0x0C); }

 private:
  platform::ByteSpan Entry;
};

class CAttr_IndexRoot : public CAttrResident, public CSList<CIndexEntry> {
 public:
  static constexpr uint32_t kFileNameIndex = 0x30;
  CAttr_IndexRoot(platform::ByteSpan attribute, const CFileRecord& owner);

 private:
  void ListEntries();
};

class CAttr_IndexAlloc : public CAttrNonResident {
 public:
  CAttr_IndexAlloc(platform::ByteSpan attribute, const CFileRecord& owner);
  uint64_t GetIndexBlockCount() const { return IndexBlockCount; }

 private:
  uint64_t IndexBlockCount = 0;
};
