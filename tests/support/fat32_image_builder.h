// A small FAT32 volume built in memory: boot sector, FATs and data area.
#pragma once
#include <cstdint>
#include <vector>

struct Fat32Layout {
  uint16_t bytesPerSector = 512;
  uint8_t sectorsPerCluster = 1;
  uint16_t reservedSectors = 32;
  uint8_t numberOfFats = 2;
  uint32_t fatSectors = 8;
  uint32_t totalSectors = 4096;
};

class Fat32ImageBuilder {
 public:
  explicit Fat32ImageBuilder(const Fat32Layout& layout);

  // Sets entry n of every FAT copy.
  void SetFatEntry(uint32_t cluster, uint32_t value);
  // Writes bytes at the start of a data cluster (cluster 2 is the first).
  void WriteCluster(uint32_t cluster, const std::vector<uint8_t>& bytes);
  uint64_t ClusterOffset(uint32_t cluster) const;

  std::vector<uint8_t>& bytes() { return bytes_; }
  const Fat32Layout& layout() const { return layout_; }

 private:
  Fat32Layout layout_;
  std::vector<uint8_t> bytes_;
};
