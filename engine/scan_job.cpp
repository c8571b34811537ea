#include "engine/scan_job.h"

#include <cwchar>

#include "engine/jpeg_scanner.h"
#include "engine/ntfs_scan.h"
#include "engine/wide_format.h"
#include "platform/volume_info.h"
#include "volume/fat32_volume_access.h"

ScanJobOutcome OutcomeOfScannerPass(CJpegScanner::PassResult result) {
  ScanJobOutcome outcome;
  switch (result) {
    case CJpegScanner::PassResult::kCompleted:
      outcome.kind = ScanJobOutcome::kScanned;
      break;
    case CJpegScanner::PassResult::kAborted:
      outcome.kind = ScanJobOutcome::kAborted;
      break;
    case CJpegScanner::PassResult::kNoBuffer:
      outcome.kind = ScanJobOutcome::kNoMemory;
      outcome.error = "Not enough memory for the read buffer";
      break;
  }
  return outcome;
}

namespace {

ScanJobOutcome RunFat32Scan(wchar_t driveLetter, IScanDialog& dialog) {
  dialog.SetTitle(FormatWide(L"正在搜索%lc盘文件", static_cast<wint_t>(driveLetter)));
  const wchar_t letterText[2] = {driveLetter, 0};
  CVolumeAccess* access = nullptr;
  try {
    access = new CFAT32VolumeAccess(letterText);
  } catch (const char* text) {
    // The volume cannot be read as FAT32: the job ends without a scan and
    // leaves the dialog as it is.
    ScanJobOutcome outcome;
    outcome.kind = ScanJobOutcome::kNotOpened;
    outcome.error = text;
    return outcome;
  }
  CJpegScanner* scanner = new CJpegScanner(access);
  const CJpegScanner::PassResult result = scanner->RunScan(&dialog);
  delete access;
  delete scanner;
  return OutcomeOfScannerPass(result);
}

}  // namespace

ScanJobOutcome RunScanThreadBody(IScanDialog& dialog) {
  const std::wstring partition = dialog.GetSelectedPartitionText();
  if (partition.empty()) return ScanJobOutcome{};
  return RunScanJob(partition[0], dialog);
}

ScanJobOutcome RunScanJob(wchar_t driveLetter, IScanDialog& dialog) {
  const std::wstring root = FormatWide(L"%lc:\\", static_cast<wint_t>(driveLetter));
  wchar_t fileSystemName[34] = {0};
  if (!platform::QueryFileSystemName(root.c_str(), fileSystemName, 34)) fileSystemName[0] = 0;

  dialog.SetTitle(L"正在初始化,请等待......");
  if (std::wcscmp(fileSystemName, L"NTFS") != 0) return RunFat32Scan(driveLetter, dialog);
  return RunNtfsScan(driveLetter, dialog);
}
