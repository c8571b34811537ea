// Where images begin and end, sector by sector.
#include <gtest/gtest.h>

#include "engine/jpeg_scanner.h"
#include "tests/support/fake_volume_access.h"
#include "tests/support/jpeg_sectors.h"
#include "tests/support/recording_scan_dialog.h"

namespace {

// One cluster per sector, 512-byte sectors, every cluster free unless marked.
struct Detection {
  FakeVolumeAccess volume{200, 512, 1};
  RecordingScanDialog dialog;
  std::unique_ptr<CJpegScanner> scanner;

  // Examines clusters first..last as one chunk.
  void Examine(uint32_t first, uint32_t last) {
    if (!scanner) {
      scanner = std::make_unique<CJpegScanner>(&volume);
      scanner->AttachDialog(&dialog);
    }
    scanner->ExamineSectors(first, last, scanner->ChunkBufferData());
  }
  std::vector<std::tuple<int32_t, uint32_t, uint32_t, uint32_t>> Ranges() const {
    std::vector<std::tuple<int32_t, uint32_t, uint32_t, uint32_t>> out;
    for (const tagJpegRange& r : scanner->FoundRangesList()) out.emplace_back(r.State, r.FirstSector, r.LastSector, r.EndOffset);
    return out;
  }
};

using Ranges = std::vector<std::tuple<int32_t, uint32_t, uint32_t, uint32_t>>;

TEST(JpegDetection, JfifImageFromStartToEndMarker) {
  Detection d;
  PutJfifStart(d.volume, 10, 16);
  PutData(d.volume, 11);
  PutEnd(d.volume, 12, 300);
  d.Examine(1, 100);
  EXPECT_EQ(d.Ranges(), (Ranges{{1, 10, 12, 300}}));
  EXPECT_EQ(d.dialog.TextsOf(kFoundTextControl), std::vector<std::wstring>{L"找到1个文件"});
  EXPECT_EQ(d.dialog.foundCount, 1u);
}

TEST(JpegDetection, EndMarkerInTheLastTwoBytesGivesOffset511) {
  Detection d;
  PutJfifStart(d.volume, 10);
  PutEnd(d.volume, 11, 511);
  d.Examine(1, 100);
  EXPECT_EQ(d.Ranges(), (Ranges{{1, 10, 11, 511}}));
}

TEST(JpegDetection, ExifFirstSegmentLengthSkipsTheSectorsItCovers) {
  // L = 20000 skips 39 sectors: an end marker in them (a thumbnail's) is not seen.
  Detection d;
  PutExifStart(d.volume, 10, 20000);
  PutEnd(d.volume, 49, 100);  // skipped
  PutEnd(d.volume, 50, 200);  // the first sector examined after the start
  d.Examine(1, 100);
  EXPECT_EQ(d.Ranges(), (Ranges{{1, 10, 50, 200}}));
}

TEST(JpegDetection, OnlyJfifAndExifFormsStartAnImage) {
  struct Case {
    const char* name;
    std::initializer_list<uint8_t> bytes;
  } cases[] = {
      {"APP0 without JFIF", {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'X', 'X'}},
      {"APP1 without Exif", {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x10, 'J', 'F', 'I', 'F'}},
      {"quantisation table first", {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00, 0x01, 0x02, 0x03}},
      {"Exif mark under APP0", {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'E', 'x', 'i', 'f'}},
  };
  for (const Case& c : cases) {
    Detection d;
    d.volume.SetSectorBytes(10, 0, c.bytes);
    PutEnd(d.volume, 12, 300);
    d.Examine(1, 100);
    EXPECT_TRUE(d.Ranges().empty()) << c.name;
  }
}

TEST(JpegDetection, EndNeedsFfD9AsTheLastNonZeroBytesFromOffsetTwoOn) {
  struct Case {
    const char* name;
    std::vector<std::pair<size_t, uint8_t>> bytes;
  } cases[] = {
      {"FF D9 earlier, other bytes after", {{100, 0xFF}, {101, 0xD9}, {300, 0x42}}},
      {"D9 not preceded by FF", {{100, 0x12}, {101, 0xD9}}},
      {"FF D9 only at offsets 0 and 1", {{0, 0xFF}, {1, 0xD9}}},
      {"all zeros", {}},
  };
  for (const Case& c : cases) {
    Detection d;
    PutJfifStart(d.volume, 10);
    std::vector<uint8_t>& s = d.volume.Sector(11);
    for (auto [offset, value] : c.bytes) s[offset] = value;
    d.Examine(1, 100);
    EXPECT_TRUE(d.Ranges().empty()) << c.name;
  }
}

TEST(JpegDetection, EndMarkerInTheStartSectorIsNotSeen) {
  Detection d;
  PutJfifStart(d.volume, 10);
  d.volume.SetSectorBytes(10, 510, {0xFF, 0xD9});
  PutEnd(d.volume, 13, 40);
  d.Examine(1, 100);
  EXPECT_EQ(d.Ranges(), (Ranges{{1, 10, 13, 40}}));
}

TEST(JpegDetection, SecondStartReplacesAnOpenImage) {
  Detection d;
  PutJfifStart(d.volume, 10);
  PutJfifStart(d.volume, 20);
  PutEnd(d.volume, 25, 100);
  d.Examine(1, 100);
  EXPECT_EQ(d.Ranges(), (Ranges{{1, 20, 25, 100}}));
}

TEST(JpegDetection, StartRightAfterAnEndTakesTheRangeBackAndContinuesIt) {
  Detection d;
  PutJfifStart(d.volume, 10);
  PutEnd(d.volume, 12, 100);
  d.volume.SetSectorBytes(13, 0, {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43});
  PutData(d.volume, 14);
  PutEnd(d.volume, 15, 200);
  d.Examine(1, 100);
  EXPECT_EQ(d.Ranges(), (Ranges{{255, 10, 15, 200}}));
  // Every recorded end counts in the found texts, even one taken back.
  EXPECT_EQ(d.dialog.TextsOf(kFoundTextControl), (std::vector<std::wstring>{L"找到1个文件", L"找到2个文件"}));
  EXPECT_EQ(d.scanner->FoundCountValue(), 2u);
}

TEST(JpegDetection, FfD8FfTwoSectorsAfterAnEndHasNoEffect) {
  Detection d;
  PutJfifStart(d.volume, 10);
  PutEnd(d.volume, 12, 100);
  d.volume.SetSectorBytes(14, 0, {0xFF, 0xD8, 0xFF, 0xDB});
  PutEnd(d.volume, 15, 200);
  d.Examine(1, 100);
  EXPECT_EQ(d.Ranges(), (Ranges{{1, 10, 12, 100}}));
}

TEST(JpegDetection, ImageContinuesIntoTheNextChunkOfTheSameFreeStretch) {
  Detection d;
  PutJfifStart(d.volume, 48);
  PutEnd(d.volume, 52, 64);
  d.Examine(1, 49);
  d.Examine(50, 100);
  EXPECT_EQ(d.Ranges(), (Ranges{{1, 48, 52, 64}}));
}

TEST(JpegDetection, ImageInterruptedByAUsedClusterIsDropped) {
  Detection d;
  PutJfifStart(d.volume, 48);
  PutEnd(d.volume, 52, 64);
  d.Examine(1, 49);
  d.Examine(51, 100);  // cluster 50 is used
  EXPECT_TRUE(d.Ranges().empty());
}

TEST(JpegDetection, SkipPastTheChunkEndsItsExaminationOnly) {
  Detection d;
  PutExifStart(d.volume, 45, 20000);  // would skip to sector 85
  d.Examine(1, 49);
  PutEnd(d.volume, 50, 10);  // the skip does not carry over: sector 50 is examined
  d.Examine(50, 100);
  EXPECT_EQ(d.Ranges(), (Ranges{{1, 45, 50, 10}}));
}

TEST(JpegDetection, WholeScanFindsImagesSpanningChunkLimits) {
  // 8 sectors per cluster: chunks of 5000 clusters (40000 sectors).
  FakeVolumeAccess volume(12000, 512, 8);
  volume.MarkUsed(0, 1);
  PutJfifStart(volume, 39990 + 16);  // in the first chunk (clusters 2..5001)
  PutEnd(volume, 40030 + 16, 77);    // in the second
  RecordingScanDialog dialog;
  dialog.outputDir = L"/nonexistent-quorvel-folder";
  CJpegScanner scanner(&volume);
  scanner.RunScan(&dialog);
  // One image, from the first chunk into the second: its file is named after
  // its start sector (40006 + 1982).
  EXPECT_EQ(dialog.TextsOf(kFoundTextControl), std::vector<std::wstring>{L"找到1个文件"});
  ASSERT_EQ(dialog.EventsOf("failure").size(), 1u);
  EXPECT_NE(dialog.EventsOf("failure")[0]->text.find(L"41988.jpg"), std::wstring::npos);
}

}  // namespace
