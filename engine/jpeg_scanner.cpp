// The scanner object and its walk over the free clusters.
#include "engine/jpeg_scanner.h"

#include <cstdarg>
#include <new>

#include "engine/wide_format.h"
#include "platform/clock.h"

CJpegScanner::CJpegScanner(CVolumeAccess* access) : Access(access) {
  TotalClusters = Access->GetClusterCount();
  BytesPerCluster = Access->GetBytesPerCluster();
  BytesPerSector = Access->GetBytesPerSector();
  SectorsPerCluster = BytesPerSector ? BytesPerCluster / BytesPerSector : 0;
  ClustersPerChunk = SectorsPerCluster ? kChunkSectors / SectorsPerCluster : 0;
  // A geometry that cannot fill even one cluster per chunk gets no buffer;
  // RunScan then refuses to scan.
  if (BytesPerSector != 0 && ClustersPerChunk != 0) {
    ChunkBuffer.reset(new (std::nothrow) uint8_t[static_cast<size_t>(BytesPerSector) * kChunkSectors]);
  }
}

CJpegScanner::~CJpegScanner() = default;

CJpegScanner::PassResult CJpegScanner::RunScan(IScanDialog* dialog) {
  PassStartTick = platform::TickCount();
  ScanDialog = dialog;
  if (!ChunkBuffer) return PassResult::kNoBuffer;

  SetControlText(kTotalTextControl, L"总扇区:%u", SectorsPerCluster * TotalClusters);
  ScanDialog->SetProgressRange(0, TotalClusters);

  uint32_t c = 1;
  while (c < TotalClusters && Access->IsClusterUsed(c)) ++c;

  while (c < TotalClusters && ScanDialog->GetCancelState() == kScanRunning) {
    const uint32_t last = FindFreeRunEnd(c);
    ExamineSectors(c, last, ChunkBuffer.get());
    c = SkipUsedClusters(last);
  }

  if (ScanDialog->GetCancelState() == kAbortScan) return PassResult::kAborted;
  WriteAllRanges();
  CompletePass();
  return PassResult::kCompleted;
}

uint32_t CJpegScanner::FindFreeRunEnd(uint32_t first) {
  uint32_t c = first;
  uint32_t n = 0;
  for (;;) {
    if ((c & 0x7FF) == 0) ReportProgress(c);
    if (c >= TotalClusters || Access->IsClusterUsed(c)) break;
    ++n;
    ++c;
    if (n == ClustersPerChunk) break;
  }
  return c - 1;
}

uint32_t CJpegScanner::SkipUsedClusters(uint32_t last) {
  uint32_t c = last + 1;
  while (c < TotalClusters && Access->IsClusterUsed(c)) {
    if ((c & 0x7FF) == 0) ReportProgress(c);
    ++c;
  }
  return c;
}

void CJpegScanner::ReportProgress(uint32_t cluster) {
  ScanDialog->SetProgressPosition(cluster);
  SetControlText(kScannedTextControl, L"已扫描:%u个扇区", cluster * SectorsPerCluster);
  const float percent = static_cast<float>(static_cast<double>(cluster) * 100.0 / static_cast<double>(TotalClusters));
  SetControlText(kPercentTextControl, L"%.2f%%", static_cast<double>(percent));
}

bool CJpegScanner::SetControlText(int controlId, const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  ProgressText = FormatWideV(format, args);
  va_end(args);
  ScanDialog->SetControlText(controlId, ProgressText);
  return true;
}
