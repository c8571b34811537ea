// Writing the found images out, and the end of a pass.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/jpeg_scanner.h"
#include "platform/text.h"
#include "tests/support/fake_volume_access.h"
#include "tests/support/jpeg_sectors.h"
#include "tests/support/recording_scan_dialog.h"

namespace fs = std::filesystem;

namespace {

class RecoveryWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = fs::temp_directory_path() / ("quorvel-writer-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
                                          ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder);
    fs::create_directories(folder);
    dialog.outputDir = platform::Utf8ToWide(folder.string());
  }
  void TearDown() override { fs::remove_all(folder); }

  // Runs a whole pass over the volume.
  void Scan(FakeVolumeAccess& volume) {
    scanner = std::make_unique<CJpegScanner>(&volume);
    scanner->RunScan(&dialog);
  }
  std::vector<uint8_t> FileBytes(const std::string& name) const {
    std::ifstream in(folder / name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
  }
  std::vector<uint8_t> VolumeBytes(FakeVolumeAccess& volume, uint32_t first, uint32_t last, uint32_t endOffset) {
    std::vector<uint8_t> bytes((last - first + 1) * 512);
    volume.ReadSectors(first, last, bytes.data());
    bytes.resize((last - first) * 512 + endOffset + 1);
    return bytes;
  }

  fs::path folder;
  RecordingScanDialog dialog;
  std::unique_ptr<CJpegScanner> scanner;
};

TEST_F(RecoveryWriter, FileIsNamedByFirstSectorPlus1982AndEndsWithTheD9Byte) {
  FakeVolumeAccess volume(2000, 512, 1);
  volume.MarkUsed(0, 1);
  PutJfifStart(volume, 1000);
  PutData(volume, 1001);
  PutData(volume, 1002);
  PutEnd(volume, 1003, 300);
  Scan(volume);

  EXPECT_EQ(volume.sectorReads, (std::vector<std::pair<uint32_t, uint32_t>>{{1000, 1003}}));
  const std::vector<uint8_t> file = FileBytes("2982.jpg");
  EXPECT_EQ(file.size(), 3u * 512 + 301);
  EXPECT_EQ(file, VolumeBytes(volume, 1000, 1003, 300));
  EXPECT_EQ(dialog.TextsOf(kScannedTextControl).back(), L"成功恢复1个文件");
  EXPECT_EQ(dialog.TextsOf(kPercentTextControl).back(), L"100%");
}

TEST_F(RecoveryWriter, LongImagesAreReadInChunksOfFortyThousandSectors) {
  struct Case {
    uint32_t sectors;
    std::vector<std::pair<uint32_t, uint32_t>> reads;
  } cases[] = {
      {40000, {{10, 40009}}},
      {40001, {{10, 40009}, {40010, 40010}}},
  };
  for (const Case& c : cases) {
    FakeVolumeAccess volume(100000, 512, 1);
    volume.MarkUsed(0, 9);
    PutJfifStart(volume, 10);
    PutEnd(volume, 10 + c.sectors - 1, 123);
    volume.MarkUsed(10 + c.sectors, 99999);
    Scan(volume);
    EXPECT_EQ(volume.sectorReads, c.reads) << c.sectors;
    EXPECT_EQ(fs::file_size(folder / "1992.jpg"), (c.sectors - 1) * 512ull + 124) << c.sectors;
    EXPECT_EQ(FileBytes("1992.jpg"), VolumeBytes(volume, 10, 10 + c.sectors - 1, 123));
  }
}

TEST_F(RecoveryWriter, ExistingFileOfTheSameNameIsReplaced) {
  { std::ofstream(folder / "2982.jpg") << std::string(100000, 'x'); }
  FakeVolumeAccess volume(2000, 512, 1);
  volume.MarkUsed(0, 1);
  PutJfifStart(volume, 1000);
  PutEnd(volume, 1001, 20);
  Scan(volume);
  EXPECT_EQ(fs::file_size(folder / "2982.jpg"), 512u + 21);
}

TEST_F(RecoveryWriter, TakenBackRangesLeaveThePercentageBelowOneHundred) {
  // Five ends recorded, one of them taken back by a continuation: four files.
  FakeVolumeAccess volume(2000, 512, 1);
  volume.MarkUsed(0, 1);
  for (uint32_t s : {100u, 200u, 300u}) {
    PutJfifStart(volume, s);
    PutEnd(volume, s + 2, 50);
  }
  PutJfifStart(volume, 400);
  PutEnd(volume, 402, 50);
  volume.SetSectorBytes(403, 0, {0xFF, 0xD8, 0xFF, 0xDB});
  PutEnd(volume, 405, 60);
  Scan(volume);
  EXPECT_EQ(dialog.TextsOf(kFoundTextControl).back(), L"找到5个文件");
  EXPECT_EQ(dialog.TextsOf(kScannedTextControl).back(), L"成功恢复4个文件");
  EXPECT_EQ(dialog.TextsOf(kPercentTextControl).back(), L"80%");
  EXPECT_EQ(dialog.EventsOf("summary")[0]->text, L"用时0秒,成功恢复4个文件");
  EXPECT_EQ(fs::file_size(folder / "2382.jpg"), 5u * 512 + 61);
}

TEST_F(RecoveryWriter, AbortWhileWritingFinishesTheCurrentFileAndStillCompletes) {
  FakeVolumeAccess volume(2000, 512, 1);
  volume.MarkUsed(0, 1);
  for (uint32_t s : {100u, 200u, 300u}) {
    PutJfifStart(volume, s);
    PutEnd(volume, s + 1, 50);
  }
  dialog.onEvent = [](RecordingScanDialog& d, const RecordingScanDialog::Event& e) {
    if (e.kind == "text" && e.text == L"成功恢复1个文件") d.cancelState = kAbortScan;
  };
  Scan(volume);
  EXPECT_TRUE(fs::exists(folder / "2082.jpg"));
  EXPECT_FALSE(fs::exists(folder / "2182.jpg"));
  EXPECT_FALSE(fs::exists(folder / "2282.jpg"));
  ASSERT_EQ(dialog.EventsOf("summary").size(), 1u);
  EXPECT_EQ(dialog.EventsOf("summary")[0]->text, L"用时0秒,成功恢复1个文件");
  EXPECT_EQ(dialog.EventsOf("summary")[0]->caption, L"扫描终止");
}

TEST_F(RecoveryWriter, EmptyListShowsOnlyTheWritingNotice) {
  FakeVolumeAccess volume(100, 512, 1);
  volume.MarkUsed(0, 99);
  Scan(volume);
  EXPECT_EQ(dialog.TextsOf(kTotalTextControl).back(), L"搜索完成,文件恢复中...");
  EXPECT_TRUE(dialog.TextsOf(kScannedTextControl).empty());
  EXPECT_TRUE(dialog.TextsOf(kPercentTextControl).empty());
}

TEST_F(RecoveryWriter, CompletionShowsSummaryThenOwnerThenFolderThenCloses) {
  FakeVolumeAccess volume(100, 512, 1);
  volume.MarkUsed(0, 99);
  Scan(volume);
  std::vector<std::string> tail;
  for (const auto& e : dialog.events)
    if (e.kind == "summary" || e.kind == "owner" || e.kind == "open" || e.kind == "close") tail.push_back(e.kind);
  EXPECT_EQ(tail, (std::vector<std::string>{"summary", "owner", "open", "close"}));
  EXPECT_EQ(dialog.EventsOf("open")[0]->text, dialog.outputDir);
  EXPECT_EQ(dialog.EventsOf("summary")[0]->caption, L"扫描完成");
  EXPECT_EQ(scanner->FoundCountValue(), 0u);
}

TEST_F(RecoveryWriter, FilesThatCannotBeStoredAreReportedAndNotCounted) {
  struct Case {
    const char* name;
    std::wstring folder;
  } cases[] = {
      {"missing folder", platform::Utf8ToWide((folder / "missing").string())},
      {"path too long for the output buffer", platform::Utf8ToWide(folder.string()) + L"/" + std::wstring(600, L'd')},
  };
  for (const Case& c : cases) {
    FakeVolumeAccess volume(2000, 512, 1);
    volume.MarkUsed(0, 1);
    PutJfifStart(volume, 1000);
    PutEnd(volume, 1001, 20);
    dialog = RecordingScanDialog();
    dialog.outputDir = c.folder;
    Scan(volume);
    ASSERT_EQ(dialog.EventsOf("failure").size(), 1u) << c.name;
    EXPECT_EQ(dialog.TextsOf(kScannedTextControl).back(), L"成功恢复0个文件") << c.name;
    EXPECT_EQ(dialog.TextsOf(kPercentTextControl).back(), L"100%") << c.name;
    EXPECT_EQ(dialog.EventsOf("summary")[0]->text, L"用时0秒,成功恢复0个文件") << c.name;
    EXPECT_EQ(scanner->FailedCountValue(), 1u) << c.name;
  }
  // Nothing was cut short into some other path.
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 0);
}

}  // namespace
