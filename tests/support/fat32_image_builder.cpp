#include "tests/support/fat32_image_builder.h"

#include <cstring>

namespace {

void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
  b[at] = static_cast<uint8_t>(v);
  b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

}  // namespace

Fat32ImageBuilder::Fat32ImageBuilder(const Fat32Layout& layout)
    : layout_(layout), bytes_(static_cast<size_t>(layout.totalSectors) * layout.bytesPerSector) {
  std::vector<uint8_t>& b = bytes_;
  b[0] = 0xEB;
  b[1] = 0x58;
  b[2] = 0x90;
  std::memcpy(&b[3], "MSWIN4.1", 8);
  Put16(b, 11, layout.bytesPerSector);
  b[13] = layout.sectorsPerCluster;
  Put16(b, 14, layout.reservedSectors);
  b[16] = layout.numberOfFats;
  b[21] = 0xF8;
  Put32(b, 32, layout.totalSectors);
  Put32(b, 36, layout.fatSectors);
  Put32(b, 44, 2);
  std::memcpy(&b[82], "FAT32   ", 8);
  b[510] = 0x55;
  b[511] = 0xAA;
  SetFatEntry(0, 0x0FFFFFF8);
  SetFatEntry(1, 0x0FFFFFFF);
  SetFatEntry(2, 0x0FFFFFFF);  // root directory
}

void Fat32ImageBuilder::SetFatEntry(uint32_t cluster, uint32_t value) {
  for (uint32_t f = 0; f < layout_.numberOfFats; ++f) {
    const size_t at = (static_cast<size_t>(layout_.reservedSectors) + static_cast<size_t>(f) * layout_.fatSectors) *
                          layout_.bytesPerSector + static_cast<size_t>(cluster) * 4;
    Put32(bytes_, at, value);
  }
}

uint64_t Fat32ImageBuilder::ClusterOffset(uint32_t cluster) const {
  const uint64_t dataStart = (static_cast<uint64_t>(layout_.reservedSectors) +
                              static_cast<uint64_t>(layout_.numberOfFats) * layout_.fatSectors) * layout_.bytesPerSector;
  return dataStart + static_cast<uint64_t>(cluster - 2) * layout_.sectorsPerCluster * layout_.bytesPerSector;
}

void Fat32ImageBuilder::WriteCluster(uint32_t cluster, const std::vector<uint8_t>& bytes) {
  std::memcpy(&bytes_[ClusterOffset(cluster)], bytes.data(), bytes.size());
}
