// The FAT32 access over volumes built in memory.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "tests/support/fat32_image_builder.h"
#include "tests/support/in_memory_volume.h"
#include "volume/fat32_volume_access.h"

namespace {

constexpr wchar_t kLetter = L'F';

std::string OpenFailure(const std::vector<uint8_t>& bytes) {
  InMemoryVolume volume(kLetter, bytes);
  try {
    CFAT32VolumeAccess access(L"F");
  } catch (const char* text) {
    return text;
  }
  return "";
}

TEST(Fat32VolumeAccess, AllocationComesFromTheWholeFirstFat) {
  Fat32ImageBuilder image({});
  image.SetFatEntry(5, 0x10000000);  // only a reserved high bit set
  image.SetFatEntry(6, 7);
  InMemoryVolume volume(kLetter, image.bytes());
  CFAT32VolumeAccess access(L"F");

  EXPECT_EQ(access.GetBytesPerSector(), 512u);
  EXPECT_EQ(access.GetBytesPerCluster(), 512u);
  EXPECT_EQ(access.GetClusterCount(), 8u * 512 / 4);  // every entry of the FAT sectors
  for (uint32_t used : {0u, 1u, 2u, 5u, 6u}) EXPECT_TRUE(access.IsClusterUsed(used)) << used;
  for (uint32_t free : {3u, 4u, 7u, 1023u}) EXPECT_FALSE(access.IsClusterUsed(free)) << free;
  EXPECT_TRUE(access.IsClusterUsed(1024u));  // past the FAT: never free
}

TEST(Fat32VolumeAccess, SectorsAreCountedFromTheFirstFat) {
  Fat32Layout layout;
  layout.sectorsPerCluster = 8;
  layout.fatSectors = 1000;
  layout.totalSectors = 2200;
  Fat32ImageBuilder image(layout);
  std::memcpy(&image.bytes()[(32 + 2000) * 512], "cluster two", 11);
  std::memcpy(&image.bytes()[(32 + 2008) * 512], "cluster three", 13);
  InMemoryVolume volume(kLetter, image.bytes());
  CFAT32VolumeAccess access(L"F");

  EXPECT_EQ(access.ClusterToSector(2), 2000u);
  EXPECT_EQ(access.ClusterToSector(3), 2008u);
  std::vector<uint8_t> buffer(8 * 512 + 1, 0xEE);
  EXPECT_TRUE(access.ReadSectors(2000, 2000, buffer.data()));
  EXPECT_EQ(std::memcmp(buffer.data(), "cluster two", 11), 0);
  EXPECT_EQ(buffer[512], 0xEE);  // exactly one sector
  EXPECT_TRUE(access.ReadClusters(3, 3, buffer.data()));
  EXPECT_EQ(std::memcmp(buffer.data(), "cluster three", 13), 0);
  EXPECT_EQ(buffer[8 * 512], 0xEE);  // exactly one cluster
}

TEST(Fat32VolumeAccess, ImageFileTakesItsSectorSizeFromTheBootSector) {
  Fat32Layout layout;
  layout.bytesPerSector = 4096;
  layout.reservedSectors = 4;
  layout.fatSectors = 2;
  layout.totalSectors = 600;
  Fat32ImageBuilder image(layout);
  InMemoryVolume volume(kLetter, image.bytes());
  CFAT32VolumeAccess access(L"F");
  EXPECT_EQ(access.GetBytesPerSector(), 4096u);
  EXPECT_EQ(access.GetClusterCount(), 2u * 4096 / 4);
}

TEST(Fat32VolumeAccess, ReadPastTheEndIsZeroFilledAndReportedAsFailed) {
  Fat32ImageBuilder image({});
  InMemoryVolume volume(kLetter, image.bytes());
  CFAT32VolumeAccess access(L"F");
  // The FAT has entries for clusters beyond the data area.
  const uint32_t lastSector = 4096 - 32;
  std::vector<uint8_t> buffer(4 * 512, 0xEE);
  EXPECT_FALSE(access.ReadSectors(lastSector - 2, lastSector + 1, buffer.data()));
  EXPECT_EQ(buffer[2 * 512 + 10], 0);
  EXPECT_EQ(buffer[4 * 512 - 1], 0);
}

TEST(Fat32VolumeAccess, BootSectorsThatDescribeNoFat32VolumeAreRefused) {
  struct Case {
    const char* name;
    std::function<void(std::vector<uint8_t>&)> damage;
  } cases[] = {
      {"zeroed boot sector", [](std::vector<uint8_t>& b) { std::memset(b.data(), 0, 512); }},
      {"bytes per sector 0", [](std::vector<uint8_t>& b) { b[11] = 0, b[12] = 0; }},
      {"bytes per sector 8192", [](std::vector<uint8_t>& b) { b[11] = 0, b[12] = 0x20; }},
      {"bytes per sector 500", [](std::vector<uint8_t>& b) { b[11] = 0xF4, b[12] = 0x01; }},
      {"sectors per cluster 0", [](std::vector<uint8_t>& b) { b[13] = 0; }},
      {"sectors per cluster 3", [](std::vector<uint8_t>& b) { b[13] = 3; }},
      {"no reserved sectors", [](std::vector<uint8_t>& b) { b[14] = 0, b[15] = 0; }},
      {"no FATs", [](std::vector<uint8_t>& b) { b[16] = 0; }},
      {"FAT size 0", [](std::vector<uint8_t>& b) { std::memset(&b[36], 0, 4); }},
      {"FAT16 volume", [](std::vector<uint8_t>& b) { b[22] = 0x20; }},
      {"FAT past the end", [](std::vector<uint8_t>& b) { b[36] = 0x00, b[37] = 0x10; }},
      {"FAT larger than FAT32 allows", [](std::vector<uint8_t>& b) { b[39] = 0x10; }},
      {"no total sector count", [](std::vector<uint8_t>& b) { std::memset(&b[32], 0, 4); }},
  };
  for (const Case& c : cases) {
    Fat32ImageBuilder image({});
    c.damage(image.bytes());
    const std::string failure = OpenFailure(image.bytes());
    EXPECT_NE(failure.find("FAT32"), std::string::npos) << c.name << ": " << failure;
  }
}

TEST(Fat32VolumeAccess, TruncatedOrMissingVolumesAreRefused) {
  Fat32ImageBuilder image({});
  std::vector<uint8_t> truncated(image.bytes().begin(), image.bytes().begin() + 36 * 512);  // the FAT ends at sector 40
  EXPECT_NE(OpenFailure(truncated), "");
  EXPECT_NE(OpenFailure({}), "");
  // The FAT is whole but the data area is cut short.
  std::vector<uint8_t> shortData(image.bytes().begin(), image.bytes().begin() + 3000 * 512);
  EXPECT_NE(OpenFailure(shortData).find("truncated"), std::string::npos);

  try {
    CFAT32VolumeAccess access(L"Q");  // no such drive
    FAIL() << "opened a drive that does not exist";
  } catch (const char* text) {
    EXPECT_STREQ(text, "Error Creating accessing the volume");
  }
}

}  // namespace
