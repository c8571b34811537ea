#include <gtest/gtest.h>
#ifdef __linux__
#include <sys/mman.h>
#endif
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "engine/ntfs_scan.h"
#include "engine/scan_job.h"
#include "platform/drive_table.h"
#include "platform/text.h"
#include "tests/support/ntfs_test_volume.h"
#include "tests/support/recording_scan_dialog.h"
#include "tests/support/sample_photo.h"
#include "volume/ntfs_volume_access.h"

namespace fs = std::filesystem;

namespace {

void SetGlobals(const Bytes& bitmap, uint32_t totalClusters, uint32_t sectorsPerCluster = 8) {
  NtfsAccessGlobals.BytesPerSector = 512;
  NtfsAccessGlobals.SectorsPerCluster = sectorsPerCluster;
  NtfsAccessGlobals.BytesPerCluster = 512 * sectorsPerCluster;
  NtfsAccessGlobals.TotalClusters = totalClusters;
  NtfsAccessGlobals.ClusterBitmap = bitmap.data();
  NtfsAccessGlobals.ClusterBitmapSize = bitmap.size();
}

TEST(NtfsVolumeAccess, AnswersFromTheBitmap) {
  const Bytes bitmap = {0x01, 0x20};
  SetGlobals(bitmap, 24);
  CNTFSVolumeAccess access;
  for (uint32_t c = 0; c < 16; ++c) EXPECT_EQ(access.IsClusterUsed(c), c == 0 || c == 13) << c;
  // Past the bitmap and past the volume: used, never read.
  for (uint32_t c : {16u, 23u, 24u, 0xFFFFFFFFu}) EXPECT_TRUE(access.IsClusterUsed(c)) << c;
  EXPECT_EQ(access.GetClusterCount(), 24u);
  EXPECT_EQ(access.GetBytesPerCluster(), 4096u);
  EXPECT_EQ(access.GetBytesPerSector(), 512u);
  EXPECT_EQ(access.ClusterToSector(10), 80u);
  EXPECT_EQ(access.ClusterToSector(11) - access.ClusterToSector(10), 8u);
}

TEST(NtfsVolumeAccess, ReadsSectorsAndClustersByByteOffset) {
  Bytes bytes(64 * 4096);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i / 512);
  InMemoryVolume memory(L'A', bytes);
  const Bytes bitmap(8, 0);
  SetGlobals(bitmap, 64);
  NtfsAccessGlobals.VolumeHandle = platform::OpenVolumeDevice(L"\\\\.\\A:");
  CNTFSVolumeAccess access;
  Bytes buffer(4096 * 2);
  ASSERT_TRUE(access.ReadSectors(80, 80, buffer.data()));
  EXPECT_EQ(buffer[0], 80);
  ASSERT_TRUE(access.ReadClusters(10, 11, buffer.data()));
  EXPECT_EQ(buffer[0], 80);
  EXPECT_EQ(buffer[8191], 95);
  // Past the end of the volume: false, and zeros instead of stale bytes.
  EXPECT_FALSE(access.ReadClusters(63, 64, buffer.data()));
  EXPECT_EQ(buffer[4096], 0);
  platform::CloseDevice(NtfsAccessGlobals.VolumeHandle);
}

#ifdef __linux__  // a sparse memory file past 4 GiB
TEST(NtfsVolumeAccess, ReadsPastFourGiB) {
  const int fd = memfd_create("quorvel-large", MFD_CLOEXEC);
  ASSERT_GE(fd, 0);
  const off_t position = 9000000ll * 512;  // beyond 4 GiB
  ASSERT_EQ(ftruncate(fd, position + 4096), 0);
  const char marker[] = "far sector";
  ASSERT_EQ(pwrite(fd, marker, sizeof marker, position), static_cast<ssize_t>(sizeof marker));
  platform::MapDriveLetter(L'B', "/proc/self/fd/" + std::to_string(fd));
  const Bytes bitmap(8, 0);
  SetGlobals(bitmap, 64);
  NtfsAccessGlobals.VolumeHandle = platform::OpenVolumeDevice(L"\\\\.\\B:");
  CNTFSVolumeAccess access;
  Bytes buffer(4096);
  ASSERT_TRUE(access.ReadSectors(9000000, 9000000, buffer.data()));
  EXPECT_STREQ(reinterpret_cast<const char*>(buffer.data()), marker);
  ASSERT_TRUE(access.ReadClusters(1125000, 1125000, buffer.data()));  // 1125000 x 8 = 9000000
  EXPECT_STREQ(reinterpret_cast<const char*>(buffer.data()), marker);
  platform::CloseDevice(NtfsAccessGlobals.VolumeHandle);
  platform::UnmapDriveLetter(L'B');
  close(fd);
}
#endif

// A $DATA attribute that records how it is read and serves a pattern.
class RecordingData : public CAttrBase {
 public:
  RecordingData(const CFileRecord& owner, uint64_t size) : CAttrBase(platform::ByteSpan(), owner), Size(size) {}
  bool RunsDecoded() override { return true; }
  uint64_t GetValueSize(uint64_t*) override { return Size; }
  bool ReadValue(const uint64_t& offset, void* buffer, uint32_t length, uint32_t* bytesRead) override {
    Calls.push_back({offset, length});
    uint32_t n = offset >= Size ? 0 : static_cast<uint32_t>(std::min<uint64_t>(length, Size - offset));
    if (offset == ShortAt) n /= 2;
    for (uint32_t i = 0; i < n; ++i) static_cast<uint8_t*>(buffer)[i] = static_cast<uint8_t>((offset + i) % 251);
    *bytesRead = n;
    return true;
  }
  uint64_t Size;
  uint64_t ShortAt = ~0ull;
  std::vector<std::pair<uint64_t, uint32_t>> Calls;
};

TEST(NtfsBitmapLoading, ReadsInPortionsOf65536Bytes) {
  CNTFSVolume volume(L'1');
  CFileRecord owner(&volume);
  struct Case {
    uint64_t size;
    std::vector<uint64_t> offsets;
  };
  const Case cases[] = {{70000, {0, 65536}}, {131072, {0, 65536}}, {65536, {0}}, {1, {0}}, {0, {}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    RecordingData data(owner, c.size);
    Bytes bitmap(c.size + 1, 0xEE);
    ASSERT_TRUE(ReadClusterBitmap(data, c.size, bitmap.data()));
    ASSERT_EQ(data.Calls.size(), c.offsets.size());
    for (size_t i = 0; i < c.offsets.size(); ++i) {
      EXPECT_EQ(data.Calls[i].first, c.offsets[i]);
      EXPECT_EQ(data.Calls[i].second, kBitmapPortionSize);
    }
    for (uint64_t i = 0; i < c.size; ++i) ASSERT_EQ(bitmap[i], i % 251) << i;
    EXPECT_EQ(bitmap[c.size], 0xEE);
  }
  RecordingData shortMiddle(owner, 200000);
  shortMiddle.ShortAt = 65536;
  Bytes bitmap(200000);
  EXPECT_FALSE(ReadClusterBitmap(shortMiddle, 200000, bitmap.data()));
}

// A deleted photo in free cluster 40 of a synthetic volume.
Bytes PhotoBytes() { return SmallJfifPhoto(); }

class NtfsScanBranch : public testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() /
             ("quorvel-ntfs-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    dialog.outputDir = platform::Utf8ToWide(folder.string());
  }
  void TearDown() override { fs::remove_all(folder); }
  size_t FilesWritten() const {
    return static_cast<size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
  }
  // Every cluster used but those listed.
  static Bytes BitmapFreeing(std::initializer_list<uint32_t> free, size_t bytes = 8) {
    Bytes bitmap(bytes, 0xFF);
    for (uint32_t c : free) bitmap[c / 8] &= static_cast<uint8_t>(~(1u << (c % 8)));
    return bitmap;
  }
  fs::path folder;
  RecordingScanDialog dialog;
};

TEST_F(NtfsScanBranch, RecoversAPhotoFromAFreeCluster) {
  NtfsImageBuilder image(64);
  image.Write(40 * 4096, PhotoBytes());
  image.Write(50 * 4096, PhotoBytes());  // allocated: not written
  image.SetBitmap(BitmapFreeing({40, 41}));
  InMemoryVolume memory(L'N', image.bytes());
  const ScanJobOutcome outcome = RunNtfsScan(L'N', dialog);
  EXPECT_EQ(outcome.kind, ScanJobOutcome::kScanned) << outcome.error;
  ASSERT_FALSE(dialog.EventsOf("title").empty());
  EXPECT_EQ(dialog.EventsOf("title")[0]->text, L"正在搜索N盘文件");
  EXPECT_EQ(FilesWritten(), 1u);
  EXPECT_EQ(memory.Contents(), image.bytes());
}

TEST_F(NtfsScanBranch, CountsClustersPastAShortBitmapAsUsed) {
  NtfsImageBuilder image(256);
  image.Write(200 * 4096, PhotoBytes());
  image.SetBitmap(BitmapFreeing({40}, 8));  // describes 64 of 256 clusters
  InMemoryVolume memory(L'N', image.bytes());
  EXPECT_EQ(RunNtfsScan(L'N', dialog).kind, ScanJobOutcome::kScanned);
  EXPECT_EQ(FilesWritten(), 0u);
}

TEST_F(NtfsScanBranch, EndsWithAReasonAndLeavesTheDialogAlone) {
  struct Case {
    const char* name;
    std::function<void(NtfsImageBuilder&)> damage;
    const char* reason;
  };
  const Case cases[] = {
      {"not NTFS", [](NtfsImageBuilder& i) { i.bytes()[3] = 'X'; }, "not an NTFS volume"},
      {"version 1.2", [](NtfsImageBuilder& i) { i.SetVersion(1, 2); }, "older than 3.0"},
      {"record 6 torn", [](NtfsImageBuilder& i) { i.bytes()[i.RecordOffset(6) + 1022] ^= 1; }, "update sequence"},
      {"record 6 without unnamed $DATA",
       [](NtfsImageBuilder& i) {
         i.SetRecord(6, NtfsRecordBuilder().Add(NonResidentAttribute(0x80, SingleRun(12, 1), 0, 8, u"x")).Build());
       },
       "no unnamed $DATA"},
      {"record 6 compressed",
       [](NtfsImageBuilder& i) {
         i.SetRecord(6, NtfsRecordBuilder().Add(ResidentAttribute(0x10, StdInfoValue(0x800))).Build());
       },
       "compressed"},
      {"record 6 with a zero-length attribute",
       [](NtfsImageBuilder& i) { PutU32(i.bytes(), i.RecordOffset(6) + 0x38 + 4, 0); }, "shorter than its header"},
      {"bitmap larger than the volume needs",
       [](NtfsImageBuilder& i) {
         i.SetRecord(6, NtfsRecordBuilder().Add(NonResidentAttribute(0x80, SingleRun(12, 1), 0, 1ull << 40)).Build());
       },
       "larger than the volume needs"},
      {"bitmap runs past the volume",
       [](NtfsImageBuilder& i) {
         i.SetRecord(6, NtfsRecordBuilder().Add(NonResidentAttribute(0x80, SingleRun(5000, 1), 0, 8)).Build());
       },
       "could not be read"},
      {"empty bitmap",
       [](NtfsImageBuilder& i) {
         i.SetRecord(6, NtfsRecordBuilder().Add(ResidentAttribute(0x80, Bytes{})).Build());
       },
       "empty"},
      {"truncated image", [](NtfsImageBuilder& i) { i.bytes().resize(60 * 4096); }, "truncated"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    NtfsImageBuilder image(64);
    c.damage(image);
    InMemoryVolume memory(L'N', image.bytes());
    dialog.events.clear();
    const ScanJobOutcome outcome = RunNtfsScan(L'N', dialog);
    EXPECT_EQ(outcome.kind, ScanJobOutcome::kNotOpened);
    EXPECT_NE(outcome.error.find(c.reason), std::string::npos) << outcome.error;
    EXPECT_TRUE(dialog.events.empty());
  }
}

}  // namespace
