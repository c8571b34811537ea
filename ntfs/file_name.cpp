#include "ntfs/file_name.h"

#include <cwctype>

namespace {
constexpr size_t kNameLengthField = 0x40;
constexpr size_t kNameField = 0x42;
}  // namespace

CFileName::CFileName(platform::ByteSpan fileName) : FileName(fileName) {}

CFileName::~CFileName() = default;

void CFileName::BuildUpperName() {
  UpperName.clear();
  HasUpperName = false;
  NameLength = 0;
  uint8_t length = 0;
  if (!FileName.U8(kNameLengthField, &length) || length == 0) return;
  const size_t room = FileName.size() > kNameField ? (FileName.size() - kNameField) / 2 : 0;
  const uint32_t count = static_cast<uint32_t>(length < room ? length : room);
  if (count == 0) return;
  UpperName.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint16_t unit = FileName.U16At(kNameField + 2 * static_cast<size_t>(i));
    UpperName[i] = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(unit)));
  }
  NameLength = count;
  HasUpperName = true;
}

CAttr_FileName::CAttr_FileName(platform::ByteSpan attribute, const CFileRecord& owner)
    : CAttrResident(attribute, owner), CFileName(ValueBytes()) {
  BuildUpperName();
}
