// Data-run decoding and value reads of a non-resident attribute: the input
// is one attribute (header and runs) followed by read requests; the volume
// behind it is fixed.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "ntfs/attr_nonresident.h"
#include "ntfs/file_record.h"
#include "ntfs/ntfs_volume.h"
#include "platform/byte_span.h"
#include "tests/support/in_memory_volume.h"
#include "tests/support/ntfs_image_builder.h"

namespace {

constexpr size_t kClusters = 64;

CNTFSVolume& FixedVolume() {
  static InMemoryVolume* memory = [] {
    NtfsBootFields boot;
    boot.sectorsPerCluster = 1;  // 512-byte clusters keep partial reads common
    boot.totalSectors = kClusters;
    std::vector<uint8_t> bytes = MakeNtfsBootSector(boot);
    bytes.resize(kClusters * 512);
    for (size_t i = 512; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + (i >> 9));
    return new InMemoryVolume(L'D', bytes);
  }();
  (void)memory;
  static CNTFSVolume* volume = new CNTFSVolume(L'D');
  return *volume;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  // The first two bytes give the attribute's length; requests follow it.
  const size_t length = static_cast<size_t>(data[0] | (data[1] << 8));
  const platform::ByteSpan input(data + 2, size - 2);
  const platform::ByteSpan attribute = input.Sub(0, length);
  if (attribute.empty() || !CAttrNonResident::HeaderIsSound(attribute)) return 0;
  // The attribute is copied so that reads past it are caught.
  std::unique_ptr<uint8_t[]> copy(new uint8_t[attribute.size()]);
  std::copy(attribute.data(), attribute.data() + attribute.size(), copy.get());
  CFileRecord owner(&FixedVolume());
  CAttrNonResident attr(platform::ByteSpan(copy.get(), attribute.size()), owner);
  attr.RunsDecoded();
  const platform::ByteSpan requests = input.From(length);
  std::vector<uint8_t> buffer(2 * 65536);  // the largest request
  for (size_t at = 0; at + 6 <= requests.size() && at < 60; at += 6) {
    const uint64_t offset = requests.U32At(at);
    const uint32_t count = requests.U16At(at + 4) * 2u;
    uint32_t got = 0;
    if (attr.ReadValue(offset, buffer.data(), count, &got) && got > count) __builtin_trap();
  }
  return 0;
}
