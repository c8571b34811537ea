// The FAT32 boot sector and FAT: the input is the start of a volume.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/support/in_memory_volume.h"
#include "volume/fat32_volume_access.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static InMemoryVolume memory(L'T', {});
  memory.Reset(std::vector<uint8_t>(data, data + size));
  try {
    CFAT32VolumeAccess access(L"T");
    const uint32_t count = access.GetClusterCount();
    const uint32_t clusterSize = access.GetBytesPerCluster();
    uint32_t used = 0;
    for (uint32_t c = 0; c < count && c < 4096; ++c) used += access.IsClusterUsed(c);
    access.IsClusterUsed(count);
    access.IsClusterUsed(0xFFFFFFFF);
    if (clusterSize > 0 && clusterSize <= (1u << 20)) {
      std::vector<uint8_t> buffer(clusterSize);
      access.ReadClusters(2, 2, buffer.data());
      access.ReadClusters(count - 1, count - 1, buffer.data());
      std::vector<uint8_t> sector(access.GetBytesPerSector());
      access.ReadSectors(0, 0, sector.data());
    }
    (void)used;
  } catch (const char*) {
  }
  return 0;
}
