#include "engine/ntfs_scan.h"

#include <cwchar>

#include "engine/jpeg_scanner.h"
#include "engine/wide_format.h"
#include "volume/ntfs_volume_access.h"

ScanJobOutcome RunNtfsScan(wchar_t driveLetter, IScanDialog& dialog) {
  NtfsOpenedVolume opened;
  if (!OpenNtfsClusterBitmap(driveLetter, &opened)) {
    // Nothing was scanned and the dialog is left as it is.
    ScanJobOutcome outcome;
    outcome.kind = ScanJobOutcome::kNotOpened;
    outcome.error = opened.Error;
    return outcome;
  }

  dialog.SetTitle(FormatWide(L"正在搜索%lc盘文件", static_cast<wint_t>(driveLetter)));
  FillNtfsAccessGlobals(opened);
  CVolumeAccess* access = new CNTFSVolumeAccess();
  CJpegScanner* scanner = new CJpegScanner(access);
  const CJpegScanner::PassResult result = scanner->RunScan(&dialog);

  // The access borrows the volume's handle and the bitmap: it goes first.
  delete access;
  delete scanner;
  opened.BitmapRecord.reset();
  opened.Volume.reset();
  opened.ClusterBitmap.reset();
  NtfsAccessGlobals.ClusterBitmap = nullptr;
  NtfsAccessGlobals.ClusterBitmapSize = 0;
  NtfsAccessGlobals.VolumeHandle = platform::kInvalidDevice;
  return OutcomeOfScannerPass(result);
}
