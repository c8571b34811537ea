// The common base of every NTFS attribute object, and the resident kind whose
// value lies inside the file record. Attribute objects point into the buffer
// of the record that holds them and never copy it.
#pragma once
#include <cstdint>

#include "platform/byte_span.h"
#include "platform/device.h"

class CFileRecord;

// Offsets of the attribute header fields.
namespace attr_header {
constexpr size_t kType = 0x00;
constexpr size_t kLength = 0x04;
constexpr size_t kNonResident = 0x08;
constexpr size_t kNameLength = 0x09;
constexpr size_t kCommonSize = 0x10;
// Resident.
constexpr size_t kValueLength = 0x10;
constexpr size_t kValueOffset = 0x14;
constexpr size_t kResidentSize = 0x18;
// Non-resident.
constexpr size_t kStartVcn = 0x10;
constexpr size_t kLastVcn = 0x18;
constexpr size_t kRunsOffset = 0x20;
constexpr size_t kAllocatedSize = 0x28;
constexpr size_t kRealSize = 0x30;
constexpr size_t kNonResidentSize = 0x40;
}  // namespace attr_header

class CAttrBase {
 public:
  // attribute spans the whole attribute (header and all) inside the record
  // buffer of owner, whose volume gives the geometry.
  CAttrBase(platform::ByteSpan attribute, const CFileRecord& owner);
  virtual ~CAttrBase();
  CAttrBase(const CAttrBase&) = delete;
  CAttrBase& operator=(const CAttrBase&) = delete;

  virtual bool RunsDecoded() = 0;
  // The value size in bytes; *allocatedSize, when given, gets the space the
  // value occupies.
  virtual uint64_t GetValueSize(uint64_t* allocatedSize = nullptr) = 0;
  // Copies up to length bytes of the value from offset into buffer, which
  // must hold length bytes; *bytesRead tells how many were copied.
  virtual bool ReadValue(const uint64_t& offset, void* buffer, uint32_t length, uint32_t* bytesRead) = 0;

  const uint8_t* Header() const { return Attribute.data(); }
  platform::ByteSpan AttributeBytes() const { return Attribute; }
  uint32_t TypeCode() const { return Attribute.U32At(attr_header::kType); }
  bool IsNonResident() const { return Attribute.U8At(attr_header::kNonResident) != 0; }
  uint8_t NameLength() const { return Attribute.U8At(attr_header::kNameLength); }

 protected:
  platform::ByteSpan Attribute;
  uint32_t ClusterSize = 0;
  uint32_t IndexBlockSize = 0;
  platform::DeviceHandle VolumeHandle = platform::kInvalidDevice;
};

class CAttrResident : public CAttrBase {
 public:
  // A header is built as resident only when its value lies inside the
  // attribute.
  static bool HeaderIsSound(platform::ByteSpan attribute);

  CAttrResident(platform::ByteSpan attribute, const CFileRecord& owner);

  bool RunsDecoded() override { return true; }
  uint64_t GetValueSize(uint64_t* allocatedSize = nullptr) override;
  bool ReadValue(const uint64_t& offset, void* buffer, uint32_t length, uint32_t* bytesRead) override;

  platform::ByteSpan ValueBytes() const { return Value; }

 protected:
  platform::ByteSpan Value;  // empty when the header does not hold a sound value
  uint32_t ValueLength = 0;
};
