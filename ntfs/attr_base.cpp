#include "ntfs/attr_base.h"

#include <cstring>

#include "ntfs/file_record.h"
#include "ntfs/ntfs_volume.h"

CAttrBase::CAttrBase(platform::ByteSpan attribute, const CFileRecord& owner) : Attribute(attribute) {
  const CNTFSVolume& volume = owner.GetVolume();
  ClusterSize = volume.BytesPerCluster;
  IndexBlockSize = volume.IndexBlockSize;
  VolumeHandle = volume.VolumeHandle;
}

CAttrBase::~CAttrBase() = default;

bool CAttrResident::HeaderIsSound(platform::ByteSpan attribute) {
  if (attribute.size() < attr_header::kResidentSize) return false;
  const uint32_t length = attribute.U32At(attr_header::kValueLength);
  const uint16_t offset = attribute.U16At(attr_header::kValueOffset);
  return attribute.Contains(offset, length);
}

CAttrResident::CAttrResident(platform::ByteSpan attribute, const CFileRecord& owner) : CAttrBase(attribute, owner) {
  if (!HeaderIsSound(attribute)) return;
  ValueLength = attribute.U32At(attr_header::kValueLength);
  Value = attribute.Sub(attribute.U16At(attr_header::kValueOffset), ValueLength);
}

uint64_t CAttrResident::GetValueSize(uint64_t* allocatedSize) {
  if (allocatedSize != nullptr) *allocatedSize = ValueLength;
  return ValueLength;
}

bool CAttrResident::ReadValue(const uint64_t& offset, void* buffer, uint32_t length, uint32_t* bytesRead) {
  *bytesRead = 0;
  if (length == 0) return true;
  if (offset >= ValueLength) return false;
  const uint64_t available = ValueLength - offset;
  const uint32_t count = available < length ? static_cast<uint32_t>(available) : length;
  std::memcpy(buffer, Value.data() + offset, count);
  *bytesRead = count;
  return true;
}
