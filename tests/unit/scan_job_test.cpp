// The scan job from a drive letter to the written files.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "engine/scan_job.h"
#include "platform/text.h"
#include "tests/support/fat32_image_builder.h"
#include "tests/support/in_memory_volume.h"
#include "tests/support/sample_photo.h"
#include "tests/support/recording_scan_dialog.h"

namespace fs = std::filesystem;

namespace {

// A deleted photo in free clusters 10 and 11 of a small FAT32 volume.
std::vector<uint8_t> PhotoBytes() { return SmallJfifPhoto(); }

class ScanJob : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("quorvel-job-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    dialog.outputDir = platform::Utf8ToWide(folder.string());
    dialog.partitionText = L"J:";
  }
  void TearDown() override { fs::remove_all(folder); }

  std::vector<std::wstring> Titles() const {
    std::vector<std::wstring> titles;
    for (const auto* e : dialog.EventsOf("title")) titles.push_back(e->text);
    return titles;
  }

  fs::path folder;
  RecordingScanDialog dialog;
};

TEST_F(ScanJob, Fat32VolumeYieldsItsDeletedPhotoAndStaysUnchanged) {
  Fat32ImageBuilder image({});
  const std::vector<uint8_t> photo = PhotoBytes();
  image.WriteCluster(10, photo);
  image.SetFatEntry(20, 0x0FFFFFFF);
  InMemoryVolume volume(L'J', image.bytes());

  const ScanJobOutcome outcome = RunScanThreadBody(dialog);

  EXPECT_EQ(outcome.kind, ScanJobOutcome::kScanned);
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"正在初始化,请等待......", L"正在搜索J盘文件"}));
  // Cluster 10 is sector 2 x 8 + 8 of the access's numbering.
  std::ifstream in(folder / std::to_string(16 + 8 + 1982).append(".jpg"), std::ios::binary);
  EXPECT_EQ(std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {}), photo);
  EXPECT_EQ(volume.Contents(), image.bytes());
  EXPECT_EQ(dialog.EventsOf("summary")[0]->text, L"用时0秒,成功恢复1个文件");
}

TEST_F(ScanJob, VolumeThatIsNotFat32EndsTheJobWithoutTouchingTheDialog) {
  InMemoryVolume volume(L'J', std::vector<uint8_t>(1 << 20, 0));
  const ScanJobOutcome outcome = RunScanThreadBody(dialog);
  EXPECT_EQ(outcome.kind, ScanJobOutcome::kNotOpened);
  EXPECT_NE(outcome.error.find("FAT32"), std::string::npos) << outcome.error;
  EXPECT_EQ(Titles(), (std::vector<std::wstring>{L"正在初始化,请等待......", L"正在搜索J盘文件"}));
  EXPECT_EQ(dialog.events.size(), 2u);
}

TEST_F(ScanJob, NoPartitionChosenEndsAtOnce) {
  dialog.partitionText.clear();
  EXPECT_EQ(RunScanThreadBody(dialog).kind, ScanJobOutcome::kNoPartition);
  EXPECT_TRUE(dialog.events.empty());
}

TEST_F(ScanJob, MissingDriveEndsTheJobWithoutAScan) {
  dialog.partitionText = L"Y:";
  const ScanJobOutcome outcome = RunScanThreadBody(dialog);
  EXPECT_EQ(outcome.kind, ScanJobOutcome::kNotOpened);
  EXPECT_EQ(outcome.error, "Error Creating accessing the volume");
}

}  // namespace
