// The NTFS branch of the scan job: opens the volume, loads the cluster bitmap
// of $Bitmap (MFT record 6), runs the scanner's pass over a CNTFSVolumeAccess
// and tears everything down in order.
#pragma once
#include "engine/scan_dialog.h"
#include "engine/scan_job.h"

ScanJobOutcome RunNtfsScan(wchar_t driveLetter, IScanDialog& dialog);
