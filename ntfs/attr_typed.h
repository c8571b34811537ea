// The typed attributes whose values the reader decodes: standard
// information (file flags), volume information (NTFS version), volume name,
// data and bitmap.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "ntfs/attr_base.h"
#include "ntfs/attr_nonresident.h"

class CAttr_StdInfo : public CAttrResident {
 public:
  CAttr_StdInfo(platform::ByteSpan attribute, const CFileRecord& owner) : CAttrResident(attribute, owner) {}
  // The file attribute flags (0x800 compressed, 0x4000 encrypted); 0 when the
  // value is too short to hold them.
  uint32_t GetFileFlags() const { return Value.U32At(0x20); }
};

class CAttr_VolInfo : public CAttrResident {
 public:
  CAttr_VolInfo(platform::ByteSpan attribute, const CFileRecord& owner) : CAttrResident(attribute, owner) {}
  // Major version x 256 + minor version; 0 when the value is too short.
  uint16_t GetVersion() const {
    if (!Value.Contains(8, 2)) return 0;
    return static_cast<uint16_t>(Value.U8At(8) * 256 + Value.U8At(9));
  }
};

class CAttr_VolName : public CAttrResident {
 public:
  CAttr_VolName(platform::ByteSpan attribute, const CFileRecord& owner);
  const std::wstring& GetName() const { return Name; }
  // One byte per character: characters outside 7-bit ASCII become '?'.
  const std::string& GetAnsiName() const { return AnsiName; }
  uint32_t GetNameLength() const { return NameLength; }

 private:
  std::wstring Name;
  std::string AnsiName;
  uint32_t NameLength = 0;
};

template <typename Base>
class CAttr_Data : public Base {
 public:
  CAttr_Data(platform::ByteSpan attribute, const CFileRecord& owner) : Base(attribute, owner) {}
};

template <typename Base>
class CAttr_Bitmap : public Base {
 public:
  CAttr_Bitmap(platform::ByteSpan attribute, const CFileRecord& owner);
  uint64_t GetBitmapSize() const { return BitmapSize; }
  const uint8_t* GetBitmapBuffer() const { return BitmapBuffer.get(); }

 private:
  uint64_t BitmapSize = 0;
  std::unique_ptr<uint8_t[]> BitmapBuffer;
};

extern template class CAttr_Bitmap<CAttrResident>;
extern template class CAttr_Bitmap<CAttrNonResident>;
