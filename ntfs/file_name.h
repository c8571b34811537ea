// The name held by a $FILE_NAME structure, upper-cased, shared by the
// $FILE_NAME attribute and the entries of an index root.
#pragma once
#include <cstdint>
#include <string>

#include "ntfs/attr_base.h"

class CFileName {
 public:
  // fileName spans the $FILE_NAME structure (not owned); empty for none.
  explicit CFileName(platform::ByteSpan fileName = platform::ByteSpan());
  virtual ~CFileName();

  // Upper-cases the structure's name into UpperName. A name whose characters
  // do not all lie inside the structure is cut to those that do.
  void BuildUpperName();

  bool HasName() const { return HasUpperName; }
  const std::wstring& GetUpperName() const { return UpperName; }
  uint32_t GetNameLength() const { return NameLength; }

 protected:
  platform::ByteSpan FileName;
  std::wstring UpperName;
  bool HasUpperName = false;
  uint32_t NameLength = 0;
};

class CAttr_FileName : public CAttrResident, public CFileName {
 public:
  CAttr_FileName(platform::ByteSpan attribute, const CFileRecord& owner);
};
