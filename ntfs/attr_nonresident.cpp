#include "ntfs/attr_nonresident.h"

#include <cstring>
#include <new>

#include "platform/device.h"

bool CAttrNonResident::HeaderIsSound(platform::ByteSpan attribute) {
  if (attribute.size() < attr_header::kNonResidentSize) return false;
  return attribute.U16At(attr_header::kRunsOffset) < attribute.size();
}

CAttrNonResident::CAttrNonResident(platform::ByteSpan attribute, const CFileRecord& owner)
    : CAttrBase(attribute, owner) {
  RunsOK = HeaderIsSound(attribute) && DecodeRuns();
}

uint64_t CAttrNonResident::GetValueSize(uint64_t* allocatedSize) {
  if (allocatedSize != nullptr) *allocatedSize = Attribute.U64At(attr_header::kAllocatedSize);
  return Attribute.U64At(attr_header::kRealSize);
}

uint64_t CAttrNonResident::VcnRangeSize() const {
  return Attribute.U64At(attr_header::kLastVcn) - Attribute.U64At(attr_header::kStartVcn) + 1;
}

bool CAttrNonResident::DecodeRuns() {
  // The runs are read only inside the attribute; a run that reaches past its
  // end marks the list as damaged.
  const platform::ByteSpan runs = Attribute.From(Attribute.U16At(attr_header::kRunsOffset));
  size_t cursor = 0;
  if (runs.U8At(0) == 0) return true;
  const uint64_t lastAllowedVcn = Attribute.U64At(attr_header::kLastVcn) - Attribute.U64At(attr_header::kStartVcn);
  int64_t lcn = 0;
  uint64_t vcn = 0;
  for (;;) {
    uint64_t length = 0;
    int64_t delta = 0;
    bool sparse = false;
    const RunPairResult result = NextRunPair(runs, &cursor, &length, &delta, &sparse);
    if (result == RunPairResult::kUnsupported) return true;
    if (result == RunPairResult::kCrossesEnd) return false;
    if (__builtin_add_overflow(lcn, delta, &lcn) || lcn < 0) return false;
    tagDataRun_Entry* entry = new (std::nothrow) tagDataRun_Entry;
    if (entry == nullptr) return false;
    entry->Lcn = sparse ? -1 : lcn;
    entry->ClusterCount = length;
    entry->StartVcn = vcn;
    vcn += length;  // length is below 2^63 and vcn stays within the header's range
    entry->LastVcn = vcn - 1;
    if (entry->LastVcn > lastAllowedVcn) {
      delete entry;
      Runs.RemoveAll();
      return false;
    }
    if (!Runs.Append(entry)) {
      delete entry;
      return false;
    }
    uint8_t next = 0;
    if (!runs.U8(cursor, &next)) return false;  // no end marker inside the attribute
    if (next == 0) return true;
  }
}

bool CAttrNonResident::ReadLcnClusters(int64_t lcn, uint64_t count, uint8_t* buffer) {
  const uint64_t bytes = count * ClusterSize;  // bounded by the caller's buffer size
  if (lcn == -1) {
    std::memset(buffer, 0, bytes);
    return true;
  }
  if (lcn < 0 || static_cast<uint64_t>(lcn) > static_cast<uint64_t>(INT64_MAX) / ClusterSize) return false;
  if (bytes > UINT32_MAX) return false;
  if (!platform::SeekDevice(VolumeHandle, static_cast<uint64_t>(lcn) * ClusterSize)) return false;
  uint32_t got = 0;
  return platform::ReadDevice(VolumeHandle, buffer, static_cast<uint32_t>(bytes), &got) && got == bytes;
}

bool CAttrNonResident::ReadVcnClusters(uint64_t vcn, uint64_t count, uint8_t* buffer, uint64_t bufferSize,
                                       uint64_t* bytesOut) {
  *bytesOut = 0;
  const uint64_t range = VcnRangeSize();
  if (count > range || vcn > range - count) return false;
  if (count > bufferSize / ClusterSize) return false;
  uint64_t tally = 0;
  for (tagDataRun_Entry* run = Runs.First(); run != nullptr && count > 0; run = Runs.Next()) {
    if (vcn < run->StartVcn || vcn > run->LastVcn) continue;
    const uint64_t inRun = run->LastVcn - vcn + 1;
    const uint64_t n = count < inRun ? count : inRun;
    int64_t lcn = -1;
    if (run->Lcn != -1 && __builtin_add_overflow(run->Lcn, static_cast<int64_t>(vcn - run->StartVcn), &lcn)) break;
    if (!ReadLcnClusters(lcn, n, buffer)) break;
    buffer += n * ClusterSize;
    tally += n;
    count -= n;
    vcn += n;
  }
  *bytesOut = tally * ClusterSize;
  return true;
}

uint8_t* CAttrNonResident::ClusterScratch() {
  if (!ClusterBuffer) ClusterBuffer.reset(new (std::nothrow) uint8_t[ClusterSize]);
  return ClusterBuffer.get();
}

bool CAttrNonResident::ReadValue(const uint64_t& offset, void* buffer, uint32_t length, uint32_t* bytesRead) {
  *bytesRead = 0;
  if (length == 0) return true;
  if (ClusterSize == 0) return false;
  const uint64_t size = GetValueSize();
  if (offset > size) return false;
  if (length > size - offset) length = static_cast<uint32_t>(size - offset);

  uint8_t* out = static_cast<uint8_t*>(buffer);
  uint64_t vcn = offset / ClusterSize;
  const uint32_t within = static_cast<uint32_t>(offset % ClusterSize);
  uint64_t got = 0;
  if (within != 0) {
    uint8_t* scratch = ClusterScratch();
    if (scratch == nullptr) return false;
    if (!ReadVcnClusters(vcn, 1, scratch, ClusterSize, &got) || got != ClusterSize) return false;
    const uint32_t n = length < ClusterSize - within ? length : ClusterSize - within;
    std::memcpy(out, scratch + within, n);
    *bytesRead += n;
    length -= n;
    ++vcn;
  }
  if (length == 0) return true;

  const uint32_t whole = length / ClusterSize;
  if (whole > 0) {
    const uint64_t bytes = static_cast<uint64_t>(whole) * ClusterSize;
    if (!ReadVcnClusters(vcn, whole, out + *bytesRead, bytes, &got) || got != bytes) return false;
    *bytesRead += static_cast<uint32_t>(bytes);
    vcn += whole;
    length %= ClusterSize;
    if (length == 0) return true;
  }

  uint8_t* scratch = ClusterScratch();
  if (scratch == nullptr) return false;
  if (!ReadVcnClusters(vcn, 1, scratch, ClusterSize, &got) || got != ClusterSize) return false;
  std::memcpy(out + *bytesRead, scratch, length);
  *bytesRead += length;
  return true;
}
