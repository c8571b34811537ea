#include "ntfs/attr_list.h"

#include <cstring>
#include <new>
#include <type_traits>

template <typename Base>
CAttr_AttrList<Base>::CAttr_AttrList(platform::ByteSpan attribute, CFileRecord& owner) : Base(attribute, owner) {
  FollowEntries(owner);
}

template <typename Base>
bool CAttr_AttrList<Base>::FetchEntry(uint64_t offset, uint8_t* entry) {
  if constexpr (std::is_same_v<Base, CAttrResident>) {
    const platform::ByteSpan value = this->ValueBytes();
    if (offset >= value.size() || value.size() - offset < kEntryReadSize) return false;
    std::memcpy(entry, value.data() + offset, kEntryReadSize);
    return true;
  } else {
    uint32_t got = 0;
    return this->ReadValue(offset, entry, kEntryReadSize, &got) && got == kEntryReadSize;
  }
}

template <typename Base>
void CAttr_AttrList<Base>::FollowEntries(CFileRecord& owner) {
  if (owner.GetRecordNumber() == CFileRecord::kNoRecord) return;
  // Lists that lead from record to record are followed only so deep, which
  // also ends any cycle among them.
  if (owner.GetNestingDepth() >= CFileRecord::kMaxNestingDepth) return;
  uint64_t offset = 0;
  uint8_t bytes[kEntryReadSize];
  for (uint32_t walked = 0; walked < kMaxEntries; ++walked) {
    if (!FetchEntry(offset, bytes)) return;
    const platform::ByteSpan entry(bytes, sizeof bytes);
    const uint32_t index = CFileRecord::TypeIndex(entry.U32At(0x00));
    if (index > CFileRecord::kTypeListCount) return;
    const uint16_t length = entry.U16At(0x04);
    if (length < kMinEntryLength) return;
    const uint64_t recordNumber = entry.U32At(0x10) | (static_cast<uint64_t>(entry.U16At(0x14)) << 32);
    // An entry naming the owning record is built by that record's own walk;
    // type index 16 has no list to move objects into.
    const bool selected = index < CFileRecord::kTypeListCount && ((owner.GetTypeMask() >> index) & 1) != 0;
    if (recordNumber != owner.GetRecordNumber() && selected) {
      if (!owner.TakeExtensionRecord()) return;
      CFileRecord* extension = new (std::nothrow) CFileRecord(&owner.GetVolume(), &owner);
      if (extension == nullptr) return;
      if (!ExtensionRecords.Append(extension)) {
        delete extension;
        return;
      }
      extension->SetTypeMask(1u << index);
      if (!extension->LoadRecord(recordNumber)) return;
      extension->ParseAttributes();
      owner.TypeList(index).TakeAllFrom(extension->TypeList(index));
    }
    offset += length;
  }
}

template class CAttr_AttrList<CAttrResident>;
template class CAttr_AttrList<CAttrNonResident>;
