// Checks the command line's SOURCE and output folder before a scan, so that
// bad input ends with one clear line instead of a scan that does nothing.
#pragma once
#include <string>

struct SourceCheck {
  bool ok = false;
  std::string error;
};

// SOURCE must exist, be readable, and be a block device or an image file.
SourceCheck CheckSource(const std::string& source);

// The folder must exist, be a folder, take new files, and not lie on the
// volume being scanned (writing there would overwrite the photos being
// recovered). *absoluteFolder receives the folder's full path.
SourceCheck CheckOutputFolder(const std::string& folder, const std::string& source, std::string* absoluteFolder);

// Makes SOURCE reachable as a drive letter for the scan job and returns the
// letter in *letter.
SourceCheck MapSourceToDrive(const std::string& source, wchar_t* letter);
void UnmapSourceDrive(wchar_t letter);

// Whether the progress output (stderr) is a terminal.
bool ProgressIsTerminal();
