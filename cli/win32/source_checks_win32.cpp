// On Windows SOURCE is a drive letter with its colon ("F:"): the partition is
// read through the system's raw volume device.
#include <windows.h>
#include <io.h>

#include <cstdio>
#include <cwctype>
#include <string>

#include "cli/source_checks.h"
#include "platform/drive_table.h"
#include "platform/drives.h"
#include "platform/last_error.h"
#include "platform/text.h"

namespace {

SourceCheck Fail(std::string message) { return SourceCheck{false, std::move(message)}; }

std::string SystemError() { return platform::DescribeError(GetLastError()); }

// "F:" or "F:\" names drive F; anything else names no drive.
wchar_t DriveLetterOfSource(const std::string& source) {
  const std::wstring text = platform::Utf8ToWide(source);
  const bool letterAndColon = text.size() >= 2 && std::iswalpha(static_cast<wint_t>(text[0])) && text[1] == L':';
  if (!letterAndColon || text.size() > 3 || (text.size() == 3 && text[2] != L'\\')) return 0;
  return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(text[0])));
}

std::wstring FullPath(const std::wstring& path) {
  wchar_t buffer[MAX_PATH * 4];
  const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 4, buffer, nullptr);
  return n > 0 && n < MAX_PATH * 4 ? std::wstring(buffer, n) : path;
}

}  // namespace

SourceCheck CheckSource(const std::string& source) {
  const wchar_t letter = DriveLetterOfSource(source);
  if (letter == 0) return Fail(source + " is not a drive; give the partition's drive letter and colon, such as F:");
  if ((GetLogicalDrives() & (1u << (letter - L'A'))) == 0) return Fail("There is no drive " + source);
  const wchar_t root[] = {letter, L':', L'\\', 0};
  const platform::DriveKind kind = platform::DriveKindOf(root);
  if (kind != platform::DriveKind::Fixed && kind != platform::DriveKind::Removable) {
    return Fail(source + " is not a fixed or removable drive");
  }
  return SourceCheck{true, {}};
}

SourceCheck CheckOutputFolder(const std::string& folder, const std::string& source, std::string* absoluteFolder) {
  const std::wstring full = FullPath(platform::Utf8ToWide(folder));
  const DWORD attributes = GetFileAttributesW(full.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Fail("Output folder " + folder + ": " + SystemError());
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return Fail("Output folder " + folder + " is not a folder");
  *absoluteFolder = platform::WideToUtf8(full);

  const wchar_t sourceLetter = DriveLetterOfSource(source);
  if (sourceLetter != 0 && platform::DriveLetterOfPath(full.c_str()) == sourceLetter) {
    return Fail("Output folder " + folder + " lies on the volume being scanned; writing there would overwrite "
                "the photos being recovered. Choose a folder on another drive.");
  }

  // Try a file for real: attributes alone do not tell.
  const std::wstring probe = full + L"\\.quorvel-write-test-" + std::to_wstring(GetCurrentProcessId());
  HANDLE file = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Fail("Cannot write to output folder " + folder + ": " + SystemError());
  CloseHandle(file);
  return SourceCheck{true, {}};
}

SourceCheck MapSourceToDrive(const std::string& source, wchar_t* letter) {
  *letter = DriveLetterOfSource(source);
  if (*letter == 0) return Fail(source + " is not a drive");
  return SourceCheck{true, {}};
}

void UnmapSourceDrive(wchar_t) {}

bool ProgressIsTerminal() { return _isatty(_fileno(stderr)) != 0; }
