#include "ntfs/attr_typed.h"

#include <new>

CAttr_VolName::CAttr_VolName(platform::ByteSpan attribute, const CFileRecord& owner)
    : CAttrResident(attribute, owner) {
  NameLength = ValueLength / 2;
  Name.resize(NameLength);
  AnsiName.resize(NameLength);
  for (uint32_t i = 0; i < NameLength; ++i) {
    const uint16_t unit = Value.U16At(2 * static_cast<size_t>(i));
    Name[i] = static_cast<wchar_t>(unit);
    AnsiName[i] = unit < 0x80 ? static_cast<char>(unit) : '?';
  }
}

template <typename Base>
CAttr_Bitmap<Base>::CAttr_Bitmap(platform::ByteSpan attribute, const CFileRecord& owner) : Base(attribute, owner) {
  if (!this->RunsDecoded()) return;
  BitmapSize = this->GetValueSize();
  if (this->IsNonResident()) {
    // Only a resident bitmap is read here; a non-resident one gets a cluster
    // of room, cleared.
    BitmapBuffer.reset(new (std::nothrow) uint8_t[this->ClusterSize]());
    return;
  }
  // A resident value lies inside the record, so its size is small.
  BitmapBuffer.reset(new (std::nothrow) uint8_t[BitmapSize ? BitmapSize : 1]);
  if (!BitmapBuffer) return;
  const uint64_t offset = 0;
  uint32_t got = 0;
  if (!this->ReadValue(offset, BitmapBuffer.get(), static_cast<uint32_t>(BitmapSize), &got) || got != BitmapSize) {
    BitmapBuffer.reset();
  }
}

template class CAttr_Bitmap<CAttrResident>;
template class CAttr_Bitmap<CAttrNonResident>;
