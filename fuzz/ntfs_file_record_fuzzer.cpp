// MFT records and their attributes under every type mask: the input is the
// MFT of a small volume with a fixed, sound boot sector (4096-byte clusters,
// 1024-byte records, the MFT at cluster 4). Its first byte chooses the
// record to parse and its second the mask.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ntfs/attr_index.h"
#include "ntfs/attr_typed.h"
#include "ntfs/file_record.h"
#include "ntfs/ntfs_volume.h"
#include "tests/support/in_memory_volume.h"
#include "tests/support/ntfs_image_builder.h"

namespace {

constexpr size_t kVolumeSize = 64 * 4096;
constexpr size_t kMftOffset = 4 * 4096;

const uint32_t kMasks[] = {131, 99, 0xFFFFFFFF, 1u << 1, 1u << 7, 1u << 8, 1u << 9, 1u << 10, 1u << 11, 0x0000FFFE};

void Exercise(CFileRecord& record) {
  for (uint32_t type = 0x10; type <= 0x100; type += 0x10) {
    for (CAttrBase* a = record.FirstOfType(type); a != nullptr; a = record.NextOfType(type)) {
      uint64_t allocated = 0;
      const uint64_t size = a->GetValueSize(&allocated);
      uint8_t buffer[300];
      uint32_t got = 0;
      const uint64_t offsets[] = {0, size / 2, size > 0 ? size - 1 : 0, size};
      for (uint64_t offset : offsets) a->ReadValue(offset, buffer, sizeof buffer, &got);
      if (auto* root = dynamic_cast<CAttr_IndexRoot*>(a)) {
        for (CIndexEntry* e = root->First(); e != nullptr; e = root->Next()) (void)e->GetUpperName();
      }
    }
  }
  record.FindUnnamedData();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  static InMemoryVolume memory(L'R', {});
  NtfsBootFields boot;
  boot.totalSectors = kVolumeSize / 512;
  std::vector<uint8_t> bytes = MakeNtfsBootSector(boot);
  bytes.resize(kVolumeSize, 0);
  const size_t mftBytes = size - 2 < kVolumeSize - kMftOffset ? size - 2 : kVolumeSize - kMftOffset;
  std::copy(data + 2, data + 2 + mftBytes, bytes.begin() + kMftOffset);
  memory.Reset(bytes);

  CNTFSVolume volume(L'R');
  if (volume.VolumeHandle == platform::kInvalidDevice) return 0;
  CFileRecord record(&volume);
  record.SetTypeMask(kMasks[data[1] % (sizeof kMasks / sizeof kMasks[0])]);
  if (record.LoadRecord(data[0] % 40)) {
    record.ParseAttributes();
    Exercise(record);
  }
  return 0;
}
