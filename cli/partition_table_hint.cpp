#include "cli/partition_table_hint.h"

#include <cstring>
#include <fstream>

namespace {

constexpr size_t kMbrEntries = 446;
constexpr size_t kMbrEntrySize = 16;

bool HasMbrPartitions(const unsigned char* sector) {
  if (sector[510] != 0x55 || sector[511] != 0xAA) return false;
  for (size_t i = 0; i < 4; ++i) {
    const unsigned char* entry = sector + kMbrEntries + i * kMbrEntrySize;
    const bool validStatus = entry[0] == 0x00 || entry[0] == 0x80;
    if (!validStatus) return false;
    if (entry[4] != 0) return true;  // a partition type
  }
  return false;
}

}  // namespace

std::string PartitionTableHint(const std::string& source) {
  std::ifstream in(source, std::ios::binary);
  unsigned char head[1024] = {};
  if (!in.read(reinterpret_cast<char*>(head), sizeof head)) return "";
  const bool gpt = std::memcmp(head + 512, "EFI PART", 8) == 0;
  if (!gpt && !HasMbrPartitions(head)) return "";
  return "It looks like a whole disk with a partition table; give one of its partitions instead, such as "
         "/dev/sdb1 (for an image of a whole disk, losetup -r -P -f --show IMAGE makes its partitions "
         "/dev/loopNp1, /dev/loopNp2, ...)";
}
