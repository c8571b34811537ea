// One scan, from a drive letter to the written files: the body of the scan
// dialog's worker thread, free of any window code.
#pragma once
#include <string>

#include "engine/jpeg_scanner.h"
#include "engine/scan_dialog.h"

struct ScanJobOutcome {
  enum Kind {
    kNoPartition,   // nothing chosen: the job ended at once
    kNotOpened,     // the volume could not be opened or read as FAT32/NTFS
    kNoMemory,      // the read buffer could not be allocated
    kScanned,       // a pass ran and its completion was shown
    kAborted,       // the user aborted during the walk: nothing written
  };
  Kind kind = kNoPartition;
  std::string error;  // why, for kNotOpened and kNoMemory
};

// Reads the partition choice from the dialog and runs the job for its drive
// letter (nothing when no partition is chosen).
ScanJobOutcome RunScanThreadBody(IScanDialog& dialog);

// The job for one drive letter: chooses FAT32 or NTFS by the file-system name
// the system reports, opens the volume, runs the scanner's pass and tears
// everything down. A volume that cannot be opened ends the job without a scan
// and without touching the dialog.
ScanJobOutcome RunScanJob(wchar_t driveLetter, IScanDialog& dialog);

// How a scanner's pass ended, as the job reports it.
ScanJobOutcome OutcomeOfScannerPass(CJpegScanner::PassResult result);
