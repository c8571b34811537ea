// Outside Windows there are no drive letters: the front end maps a letter to a
// block device or an image file here, and the device code opens "\\.\X:" by
// looking the letter up.
#pragma once
#include <string>

namespace platform {

bool MapDriveLetter(wchar_t letter, const std::string& devicePath);
void UnmapDriveLetter(wchar_t letter);
// Empty when the letter is not mapped.
std::string MappedDevicePath(wchar_t letter);

// The drive letter named by a device path "\\.\X:" or a root "X:\" (its first
// letter after the prefix); 0 when there is none.
wchar_t DriveLetterOfPath(const wchar_t* path);

}  // namespace platform
