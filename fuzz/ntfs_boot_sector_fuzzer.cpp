// The NTFS boot sector and volume opening: the input is the start of a
// volume (boot sector, then whatever follows, MFT records included when the
// boot sector places the MFT inside the input).
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ntfs/file_record.h"
#include "ntfs/ntfs_volume.h"
#include "tests/support/in_memory_volume.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static InMemoryVolume memory(L'F', {});
  memory.Reset(std::vector<uint8_t>(data, data + size));
  CNTFSVolume volume(L'F');
  if (volume.MftData != nullptr) {
    uint64_t allocated = 0;
    volume.MftData->GetValueSize(&allocated);
    CFileRecord record(&volume);
    record.SetTypeMask(131);
    if (record.LoadRecord(16)) record.ParseAttributes();
  }
  return 0;
}
