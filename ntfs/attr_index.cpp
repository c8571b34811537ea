#include "ntfs/attr_index.h"

#include <new>

namespace {

constexpr size_t kIndexHeader = 0x10;           // inside the $INDEX_ROOT value
constexpr size_t kFirstEntryOffsetField = 0x10;  // the entry offset is counted from the index header
constexpr size_t kEntriesSizeField = 0x14;
constexpr size_t kEntryLengthField = 0x08;
constexpr size_t kKeyLengthField = 0x0A;
constexpr size_t kKeyOffset = 0x10;
constexpr size_t kMinEntrySize = 0x10;
constexpr uint8_t kLastEntryFlag = 0x02;

// The $FILE_NAME key of an entry, or an empty span when it has none or it
// does not fit inside the entry.
platform::ByteSpan KeyOf(platform::ByteSpan entry) {
  const uint16_t keyLength = entry.U16At(kKeyLengthField);
  return keyLength == 0 ? platform::ByteSpan() : entry.Sub(kKeyOffset, keyLength);
}

}  // namespace

CIndexEntry::CIndexEntry(platform::ByteSpan entry) : CFileName(KeyOf(entry)), Entry(entry) {
  if (!FileName.empty()) BuildUpperName();
}

CAttr_IndexRoot::CAttr_IndexRoot(platform::ByteSpan attribute, const CFileRecord& owner)
    : CAttrResident(attribute, owner) {
  if (Value.U32At(0) == kFileNameIndex) ListEntries();
}

void CAttr_IndexRoot::ListEntries() {
  // Entries are taken only while each lies whole inside the value and is at
  // least an entry header long; the first that does not ends the list.
  const uint64_t totalSize = Value.U32At(kEntriesSizeField);
  uint64_t offset = static_cast<uint64_t>(kIndexHeader) + Value.U32At(kFirstEntryOffsetField);
  uint64_t sum = 0;
  for (;;) {
    if (offset > Value.size()) return;
    const platform::ByteSpan rest = Value.From(static_cast<size_t>(offset));
    const uint16_t length = rest.U16At(kEntryLengthField);
    if (length < kMinEntrySize || !rest.Contains(0, length)) return;
    sum += length;
    if (sum > totalSize) return;
    CIndexEntry* entry = new (std::nothrow) CIndexEntry(rest.Sub(0, length));
    if (entry == nullptr) return;
    if (!Append(entry)) {
      delete entry;
      return;
    }
    if (entry->GetFlags() & kLastEntryFlag) return;
    offset += length;
  }
}

CAttr_IndexAlloc::CAttr_IndexAlloc(platform::ByteSpan attribute, const CFileRecord& owner)
    : CAttrNonResident(attribute, owner) {
  if (!RunsDecoded() || IndexBlockSize == 0) return;
  const uint64_t size = GetValueSize();
  if (size % IndexBlockSize == 0) IndexBlockCount = size / IndexBlockSize;
}
