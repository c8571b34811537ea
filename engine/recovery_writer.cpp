// Writing the found images to the output folder, and the end of a pass.
#include <cwchar>

#include "engine/jpeg_scanner.h"
#include "engine/wide_format.h"
#include "platform/clock.h"
#include "platform/diagnostics.h"
#include "platform/last_error.h"
#include "platform/output_file.h"
#include "platform/text.h"

void CJpegScanner::WriteAllRanges() {
  SetControlText(kTotalTextControl, L"搜索完成,文件恢复中...");
  uint32_t written = 0;
  uint32_t weighted = 0;
  FailedCount = 0;
  for (const tagJpegRange& range : FoundRanges) {
    if (ScanDialog->GetCancelState() == kAbortScan) break;
    if (WriteRange(range)) {
      ++written;
    } else {
      ++FailedCount;
    }
    // Only files stored whole count as recovered; the percentage follows
    // every range handled.
    SetControlText(kScannedTextControl, L"成功恢复%u个文件", written);
    weighted += 100;
    SetControlText(kPercentTextControl, L"%d%%", static_cast<int>(FoundCount ? weighted / FoundCount : 0));
  }
  FoundCount = written;
  FoundRanges.clear();
}

bool CJpegScanner::FormatOutputPath(uint32_t firstSector, std::wstring* path) const {
  const std::wstring folder = ScanDialog->GetOutputDir();
  wchar_t buffer[kOutputPathCapacity];
  const int n = std::swprintf(buffer, kOutputPathCapacity, L"%ls%lc%u.jpg", folder.c_str(),
                              static_cast<wint_t>(platform::kPathSeparator), firstSector + kFileNumberBase);
  if (n < 0 || static_cast<size_t>(n) >= kOutputPathCapacity) {
    // Cutting the path would name some other file: refuse it instead.
    *path = folder + platform::kPathSeparator + std::to_wstring(firstSector + kFileNumberBase) + L".jpg";
    return false;
  }
  path->assign(buffer, static_cast<size_t>(n));
  return true;
}

void CJpegScanner::ReportWriteFailure(const std::wstring& path, const std::string& reason) {
  platform::Diagnostic("Could not store %s: %s\n", platform::WideToUtf8(path).c_str(), reason.c_str());
  ScanDialog->ReportWriteFailure(path, reason);
}

// A file that could not be stored whole must not pass for a recovered photo:
// an empty one is removed, a part is kept under another name for whoever
// wants to look at it. Returns what became of it, for the report.
std::string CJpegScanner::SetAsideIncompleteFile(const std::wstring& path, uint64_t bytesStored) {
  if (bytesStored == 0) {
    return platform::RemoveOutputFile(path.c_str()) ? "; nothing was stored and the empty file was removed"
                                                    : "; the file is empty";
  }
  const std::wstring partName = path + L".incomplete";
  if (platform::RenameOutputFile(path.c_str(), partName.c_str())) {
    return "; the part stored is kept as " + platform::WideToUtf8(partName);
  }
  return "; the file is incomplete";
}

bool CJpegScanner::WriteRange(tagJpegRange range) {
  const uint32_t bps = Access->GetBytesPerSector();
  std::wstring path;
  if (!FormatOutputPath(range.FirstSector, &path)) {
    ReportWriteFailure(path, "the path is too long");
    return false;
  }
  if (range.LastSector < range.FirstSector || range.EndOffset >= bps) {
    ReportWriteFailure(path, "the image's range makes no sense");
    return false;
  }

  const platform::OutputFileHandle file = platform::CreateOutputFile(path.c_str());
  if (file == platform::kInvalidOutputFile) {
    ReportWriteFailure(path, "cannot create the file: " + platform::DescribeError(platform::LastErrorCode()));
    return false;
  }

  bool whole = true;
  std::string failure;
  uint64_t storedTotal = 0;
  uint32_t s = range.FirstSector;
  for (;;) {
    // Counted as sectors left rather than s + 39999, so that an image near
    // the top of the sector numbers cannot wrap round.
    const bool lastChunk = range.LastSector - s < kChunkSectors;
    const uint32_t e = lastChunk ? range.LastSector : s + (kChunkSectors - 1);
    const uint32_t length = lastChunk ? (range.LastSector - s) * bps + range.EndOffset + 1 : bps * kChunkSectors;
    if (!Access->ReadSectors(s, e, ChunkBuffer.get()) && whole) {
      whole = false;
      failure = "the image could not be read back from the volume";
    }
    uint32_t stored = 0;
    const bool wrote = platform::WriteOutputFile(file, ChunkBuffer.get(), length, &stored);
    storedTotal += stored;
    if (!wrote) {
      if (whole) failure = "writing failed after " + std::to_string(stored) + " of " + std::to_string(length) +
                           " bytes of a chunk: " + platform::DescribeError(platform::LastErrorCode());
      whole = false;
      break;
    }
    if (lastChunk) break;
    s = e + 1;
  }
  if (!platform::CloseOutputFile(file) && whole) {
    whole = false;
    failure = "closing the file failed: " + platform::DescribeError(platform::LastErrorCode());
  }
  if (!whole) ReportWriteFailure(path, failure + SetAsideIncompleteFile(path, storedTotal));
  return whole;
}

void CJpegScanner::CompletePass() {
  const uint32_t elapsed = (platform::TickCount() - PassStartTick) / 1000;
  platform::Diagnostic("The run time is:%us!\n", elapsed);
  const std::wstring text = FormatWide(L"用时%d秒,成功恢复%u个文件", static_cast<int>(elapsed), FoundCount);
  const wchar_t* caption = ScanDialog->GetCancelState() == kScanRunning ? L"扫描完成" : L"扫描终止";
  ScanDialog->ShowSummary(text, caption);
  FoundCount = 0;
  ScanDialog->ShowOwner();
  ScanDialog->OpenFolder(ScanDialog->GetOutputDir());
  ScanDialog->PostClose();
}
