// The walk over the free clusters: chunking, progress reports and the
// cancel state.
#include <gtest/gtest.h>

#include "engine/jpeg_scanner.h"
#include "tests/support/fake_volume_access.h"
#include "tests/support/recording_scan_dialog.h"

namespace {

TEST(JpegWalk, ClustersPerChunkKeepsChunksWithinFortyThousandSectors) {
  struct Case {
    uint32_t sectorsPerCluster, clustersPerChunk;
  } cases[] = {{1, 40000}, {8, 5000}, {64, 625}, {128, 312}};
  for (const Case& c : cases) {
    FakeVolumeAccess volume(100, 512, c.sectorsPerCluster);
    CJpegScanner scanner(&volume);
    EXPECT_EQ(scanner.ClustersPerChunkValue(), c.clustersPerChunk) << c.sectorsPerCluster;
  }
}

TEST(JpegWalk, ReadsEachFreeRunInChunksFromClusterOneOn) {
  FakeVolumeAccess volume(2000, 512, 64);  // 625 clusters per chunk
  volume.MarkUsed(0, 2);
  volume.MarkUsed(1500, 1510);
  RecordingScanDialog dialog;
  CJpegScanner scanner(&volume);
  scanner.RunScan(&dialog);

  const std::vector<std::pair<uint32_t, uint32_t>> expected = {
      {3, 627}, {628, 1252}, {1253, 1499}, {1511, 1999}};
  EXPECT_EQ(volume.clusterReads, expected);
  EXPECT_FALSE(volume.askedPastEnd);
}

TEST(JpegWalk, ClusterZeroIsNeverExamined) {
  FakeVolumeAccess volume(10, 512, 1);
  RecordingScanDialog dialog;
  CJpegScanner scanner(&volume);
  scanner.RunScan(&dialog);
  ASSERT_FALSE(volume.clusterReads.empty());
  EXPECT_EQ(volume.clusterReads.front().first, 1u);
}

TEST(JpegWalk, AllUsedVolumeExaminesNothingAndReportsNoFiles) {
  FakeVolumeAccess volume(5000, 512, 8);
  volume.MarkUsed(0, 4999);
  RecordingScanDialog dialog;
  CJpegScanner scanner(&volume);
  EXPECT_EQ(scanner.RunScan(&dialog), CJpegScanner::PassResult::kCompleted);
  EXPECT_TRUE(volume.clusterReads.empty());
  ASSERT_EQ(dialog.EventsOf("summary").size(), 1u);
  EXPECT_EQ(dialog.EventsOf("summary")[0]->text, L"用时0秒,成功恢复0个文件");
  EXPECT_EQ(dialog.EventsOf("summary")[0]->caption, L"扫描完成");
}

TEST(JpegWalk, SetUpAnnouncesTotalSectorsAndBarRange) {
  FakeVolumeAccess volume(10000, 512, 8);
  volume.MarkUsed(0, 9999);
  RecordingScanDialog dialog;
  CJpegScanner scanner(&volume);
  scanner.RunScan(&dialog);
  EXPECT_EQ(dialog.TextsOf(kTotalTextControl).front(), L"总扇区:80000");
  EXPECT_EQ(dialog.EventsOf("range").front()->value, 10000u);
}

TEST(JpegWalk, ProgressIsReportedAtEveryMultipleOf2048Clusters) {
  FakeVolumeAccess volume(10000, 512, 8);
  volume.MarkUsed(0, 0);
  volume.MarkUsed(3000, 5000);  // 4096 is passed while skipping used clusters
  RecordingScanDialog dialog;
  CJpegScanner scanner(&volume);
  scanner.RunScan(&dialog);

  std::vector<uint32_t> positions;
  for (const auto* e : dialog.EventsOf("pos")) positions.push_back(e->value);
  EXPECT_EQ(positions, (std::vector<uint32_t>{2048, 4096, 6144, 8192}));
  const auto scanned = dialog.TextsOf(kScannedTextControl);
  const auto percents = dialog.TextsOf(kPercentTextControl);
  ASSERT_GE(scanned.size(), 2u);
  EXPECT_EQ(scanned[1], L"已扫描:32768个扇区");
  EXPECT_EQ(percents[1], L"40.96%");
}

TEST(JpegWalk, LastFreeClusterOfA2048MultipleVolumeReportsOneHundredPercent) {
  FakeVolumeAccess volume(4096, 512, 64);  // 625 clusters per chunk; 4096 is not on a chunk limit
  RecordingScanDialog dialog;
  CJpegScanner scanner(&volume);
  scanner.RunScan(&dialog);
  EXPECT_EQ(dialog.EventsOf("pos").back()->value, 4096u);
  EXPECT_EQ(dialog.TextsOf(kPercentTextControl)[1], L"100.00%");
  EXPECT_FALSE(volume.askedPastEnd);
  EXPECT_EQ(volume.clusterReads.back().second, 4095u);
}

TEST(JpegWalk, RunEndingAtLastClusterEndsTheWalk) {
  FakeVolumeAccess volume(100, 512, 8);
  CJpegScanner scanner(&volume);
  RecordingScanDialog dialog;
  scanner.AttachDialog(&dialog);
  EXPECT_EQ(scanner.FindFreeRunEnd(50), 99u);
  EXPECT_EQ(scanner.SkipUsedClusters(99), 100u);
}

// The cancel state is looked at between chunks only.
struct CancelCase {
  int32_t state;
  bool expectWriter;
  const wchar_t* caption;
};

class JpegWalkCancel : public ::testing::TestWithParam<CancelCase> {};

TEST_P(JpegWalkCancel, FinishesTheCurrentChunkThenObeysTheState) {
  static int32_t* pendingState = nullptr;
  static RecordingScanDialog* target = nullptr;
  FakeVolumeAccess volume(20000, 512, 8);  // 5000 clusters per chunk: 4 chunks
  RecordingScanDialog dialog;
  int32_t state = GetParam().state;
  pendingState = &state;
  target = &dialog;
  volume.onClusterRead = [](uint32_t first, uint32_t) {
    if (first == 1) target->cancelState = *pendingState;  // pressed during the first chunk
  };
  CJpegScanner scanner(&volume);
  const auto result = scanner.RunScan(&dialog);

  EXPECT_EQ(volume.clusterReads.size(), 1u);
  if (GetParam().expectWriter) {
    EXPECT_EQ(result, CJpegScanner::PassResult::kCompleted);
    EXPECT_EQ(dialog.TextsOf(kTotalTextControl).back(), L"搜索完成,文件恢复中...");
    ASSERT_EQ(dialog.EventsOf("summary").size(), 1u);
    EXPECT_EQ(dialog.EventsOf("summary")[0]->caption, GetParam().caption);
  } else {
    EXPECT_EQ(result, CJpegScanner::PassResult::kAborted);
    EXPECT_TRUE(dialog.EventsOf("summary").empty());
    EXPECT_TRUE(dialog.EventsOf("owner").empty());
    EXPECT_TRUE(dialog.EventsOf("close").empty());
  }
}

INSTANTIATE_TEST_SUITE_P(States, JpegWalkCancel,
                         ::testing::Values(CancelCase{kStopAndWrite, true, L"扫描终止"},
                                           CancelCase{kAbortScan, false, nullptr}));

TEST(JpegWalk, GeometryWithoutWholeSectorsIsRefusedWithoutScanning) {
  FakeVolumeAccess volume(100, 512, 0);
  RecordingScanDialog dialog;
  CJpegScanner scanner(&volume);
  EXPECT_EQ(scanner.RunScan(&dialog), CJpegScanner::PassResult::kNoBuffer);
  EXPECT_TRUE(dialog.events.empty());
}

}  // namespace
