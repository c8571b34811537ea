#include <gtest/gtest.h>

#include "ntfs/file_record.h"
#include "ntfs/ntfs_volume.h"
#include "tests/support/ntfs_test_volume.h"

namespace {

struct GeometryCase {
  const char* name;
  NtfsBootFields boot;
  uint32_t bytesPerCluster;
  uint32_t recordSize;
  uint32_t indexBlockSize;
  uint64_t mftOffset;
};

NtfsBootFields Boot(uint16_t sector, uint8_t spc, int8_t record, int8_t index, uint64_t total, uint64_t mft) {
  NtfsBootFields f;
  f.bytesPerSector = sector;
  f.sectorsPerCluster = spc;
  f.clustersPerRecord = record;
  f.clustersPerIndexBlock = index;
  f.totalSectors = total;
  f.mftCluster = mft;
  return f;
}

TEST(NtfsVolumeGeometry, TakesSizesFromTheBootSector) {
  const GeometryCase cases[] = {
      {"negative record byte", Boot(512, 8, -10, 1, 1 << 20, 4), 4096, 1024, 4096, 16384},
      {"positive record byte", Boot(512, 8, 2, 1, 1 << 20, 4), 4096, 8192, 4096, 16384},
      {"index from negative byte", Boot(512, 128, -10, -12, 1 << 24, 2), 65536, 1024, 4096, 131072},
      {"4096-byte sectors", Boot(4096, 1, -12, 1, 1 << 20, 3), 4096, 4096, 4096, 12288},
      {"MFT past 4 GiB", Boot(512, 8, -10, 1, 1ull << 36, 3145728), 4096, 1024, 4096, 12884901888ull},
      {"2 MiB clusters coded as a power", Boot(512, 0xF4, -10, -12, 1ull << 32, 2), 2u << 20, 1024, 4096,
       4u << 20},
  };
  for (const GeometryCase& c : cases) {
    SCOPED_TRACE(c.name);
    CNTFSVolume volume(L'1');  // not a letter: nothing is opened
    const Bytes boot = MakeNtfsBootSector(c.boot);
    const char* reason = "";
    ASSERT_TRUE(volume.TakeGeometry(platform::ByteSpan(boot.data(), boot.size()), 0, &reason)) << reason;
    EXPECT_EQ(volume.BytesPerSector, c.boot.bytesPerSector);
    EXPECT_EQ(volume.BytesPerCluster, c.bytesPerCluster);
    EXPECT_EQ(volume.FileRecordSize, c.recordSize);
    EXPECT_EQ(volume.IndexBlockSize, c.indexBlockSize);
    EXPECT_EQ(volume.MftStartOffset, c.mftOffset);
    EXPECT_EQ(volume.TotalSectors, c.boot.totalSectors);
  }
}

TEST(NtfsVolumeGeometry, RefusesDamagedBootSectors) {
  struct Case {
    const char* name;
    NtfsBootFields boot;
    uint64_t deviceSize;
  };
  NtfsBootFields otherOem = Boot(512, 8, -10, 1, 4096, 4);
  otherOem.oem = "NTFSXXXX";
  NtfsBootFields fat = otherOem;
  fat.oem = "MSWIN4.1";
  const Case cases[] = {
      {"OEM NTFS followed by other bytes", otherOem, 0},
      {"FAT32 OEM", fat, 0},
      {"0 bytes per sector", Boot(0, 8, -10, 1, 4096, 4), 0},
      {"sector size not a power of two", Boot(520, 8, -10, 1, 4096, 4), 0},
      {"sector size below 256", Boot(128, 8, -10, 1, 4096, 4), 0},
      {"sector size above 4096", Boot(8192, 1, -13, 1, 4096, 4), 0},
      {"0 sectors per cluster", Boot(512, 0, -10, 1, 4096, 4), 0},
      {"sectors per cluster not a power of two", Boot(512, 3, -10, 1, 4096, 4), 0},
      {"cluster above 2 MiB", Boot(4096, 0xF6, -10, -12, 1ull << 32, 2), 0},
      {"record size 2^-128", Boot(512, 8, -128, 1, 4096, 4), 0},
      {"record size 2^-31", Boot(512, 8, -31, 1, 4096, 4), 0},
      {"record size 127 clusters", Boot(512, 8, 127, 1, 4096, 4), 0},
      {"record size 0 (2^0 bytes)", Boot(512, 8, 0, 1, 4096, 4), 0},
      {"index block size 2^-40", Boot(512, 8, -10, -40, 4096, 4), 0},
      {"no clusters", Boot(512, 8, -10, 1, 7, 0), 0},
      {"MFT outside the volume", Boot(512, 8, -10, 1, 4096, 512), 0},
      {"truncated device", Boot(512, 8, -10, 1, 4096, 4), 4096 * 512 - 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CNTFSVolume volume(L'1');
    const Bytes boot = MakeNtfsBootSector(c.boot);
    const char* reason = "";
    EXPECT_FALSE(volume.TakeGeometry(platform::ByteSpan(boot.data(), boot.size()), c.deviceSize, &reason));
    EXPECT_STRNE(reason, "");
  }
}

TEST(NtfsVolumeOpening, ANonLetterOpensNothing) {
  CNTFSVolume volume(L'7');
  EXPECT_FALSE(volume.IsUsable());
  EXPECT_EQ(volume.VolumeHandle, platform::kInvalidDevice);
}

TEST(NtfsVolumeOpening, AFat32VolumeIsRefusedAndClosed) {
  NtfsImageBuilder image;
  NtfsBootFields fat = image.boot();
  fat.oem = "mkfs.fat";
  image.SetBootSector(fat);
  NtfsTestVolume v(image.bytes());
  EXPECT_FALSE(v.volume.IsUsable());
  EXPECT_EQ(v.volume.VolumeHandle, platform::kInvalidDevice);
}

TEST(NtfsVolumeOpening, AcceptsVersion3AndKeepsTheMftData) {
  NtfsImageBuilder image;
  NtfsTestVolume v(image.bytes());
  ASSERT_TRUE(v.volume.IsUsable()) << v.volume.GetFailureReason();
  EXPECT_EQ(v.volume.NtfsVersion, 0x0301);
  ASSERT_NE(v.volume.MftData, nullptr);
  EXPECT_EQ(v.volume.MftData->GetValueSize(), NtfsImageBuilder::kMftRecords * NtfsImageBuilder::kRecordSize);
}

TEST(NtfsVolumeOpening, RefusesVersion1Point2ButKeepsGeometryAndHandle) {
  NtfsImageBuilder image;
  image.SetVersion(1, 2);
  NtfsTestVolume v(image.bytes());
  EXPECT_FALSE(v.volume.IsUsable());
  EXPECT_EQ(v.volume.NtfsVersion, 0x0102);
  EXPECT_EQ(v.volume.BytesPerCluster, 4096u);
  EXPECT_NE(v.volume.VolumeHandle, platform::kInvalidDevice);
  EXPECT_EQ(v.volume.MftRecord, nullptr);
}

TEST(NtfsVolumeOpening, RecordThreeWithoutVolumeInformationIsNotUsable) {
  NtfsImageBuilder image;
  image.SetRecord(3, NtfsRecordBuilder().Add(ResidentAttribute(0x10, StdInfoValue(0))).Build());
  NtfsTestVolume v(image.bytes());
  EXPECT_FALSE(v.volume.IsUsable());
  EXPECT_EQ(v.volume.NtfsVersion, 0);
}

TEST(NtfsVolumeOpening, RecordZeroWithoutDataLeavesNoMftRecord) {
  NtfsImageBuilder image;
  image.SetRecord(0, NtfsRecordBuilder().Add(ResidentAttribute(0x10, StdInfoValue(0))).Build());
  NtfsTestVolume v(image.bytes());
  EXPECT_TRUE(v.volume.IsUsable());
  EXPECT_EQ(v.volume.MftRecord, nullptr);
  EXPECT_EQ(v.volume.MftData, nullptr);
}

}  // namespace
