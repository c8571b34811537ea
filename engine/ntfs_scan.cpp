#include "engine/ntfs_scan.h"

ScanJobOutcome RunNtfsScan(wchar_t, IScanDialog&) {
  ScanJobOutcome outcome;
  outcome.kind = ScanJobOutcome::kNotOpened;
  outcome.error = "NTFS volumes are not supported yet";
  return outcome;
}
