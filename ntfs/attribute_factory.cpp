#include "ntfs/attribute_factory.h"

#include <new>

#include "ntfs/attr_index.h"
#include "ntfs/attr_list.h"
#include "ntfs/attr_nonresident.h"
#include "ntfs/attr_typed.h"
#include "ntfs/file_name.h"
#include "ntfs/file_record.h"

namespace {

template <typename T>
CAttrBase* MakeResident(platform::ByteSpan attribute, CFileRecord& owner, bool nonResident) {
  if (nonResident || !CAttrResident::HeaderIsSound(attribute)) return nullptr;
  return new (std::nothrow) T(attribute, owner);
}

template <typename T>
CAttrBase* MakeNonResident(platform::ByteSpan attribute, CFileRecord& owner, bool nonResident) {
  if (!nonResident || !CAttrNonResident::HeaderIsSound(attribute)) return nullptr;
  return new (std::nothrow) T(attribute, owner);
}

template <template <typename> class T>
CAttrBase* MakeEither(platform::ByteSpan attribute, CFileRecord& owner, bool nonResident) {
  return nonResident ? MakeNonResident<T<CAttrNonResident>>(attribute, owner, true)
                     : MakeResident<T<CAttrResident>>(attribute, owner, false);
}

template <typename Base>
using PlainAttribute = Base;

}  // namespace

CAttrBase* CreateAttribute(platform::ByteSpan attribute, CFileRecord& owner) {
  const bool nonResident = attribute.U8At(attr_header::kNonResident) != 0;
  switch (attribute.U32At(attr_header::kType)) {
    case 0x10: return MakeResident<CAttr_StdInfo>(attribute, owner, nonResident);
    case 0x20: return MakeEither<CAttr_AttrList>(attribute, owner, nonResident);
    case 0x30: return MakeResident<CAttr_FileName>(attribute, owner, nonResident);
    case 0x60: return MakeResident<CAttr_VolName>(attribute, owner, nonResident);
    case 0x70: return MakeResident<CAttr_VolInfo>(attribute, owner, nonResident);
    case 0x80: return MakeEither<CAttr_Data>(attribute, owner, nonResident);
    case 0x90: return MakeResident<CAttr_IndexRoot>(attribute, owner, nonResident);
    case 0xA0: return MakeNonResident<CAttr_IndexAlloc>(attribute, owner, nonResident);
    case 0xB0: return MakeEither<CAttr_Bitmap>(attribute, owner, nonResident);
    default: return MakeEither<PlainAttribute>(attribute, owner, nonResident);
  }
}
