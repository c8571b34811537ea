// Files the recovered photos are written to.
#pragma once
#include <cstdint>

namespace platform {

using OutputFileHandle = intptr_t;
constexpr OutputFileHandle kInvalidOutputFile = -1;

// The separator between a folder and a file name in an output path.
#ifdef _WIN32
constexpr wchar_t kPathSeparator = L'\\';
#else
constexpr wchar_t kPathSeparator = L'/';
#endif

// Creates the file, replacing one of the same name (read and write access, no
// sharing). Returns kInvalidOutputFile on failure (see LastErrorCode).
OutputFileHandle CreateOutputFile(const wchar_t* path);

// Writes length bytes; *written tells how many reached the file.
bool WriteOutputFile(OutputFileHandle file, const void* data, uint32_t length, uint32_t* written);

// Closes the file; false when the system reports that buffered data could
// not be stored (a full disk may only show here).
bool CloseOutputFile(OutputFileHandle file);

}  // namespace platform

namespace platform {

// Removes a file; false when it could not be removed.
bool RemoveOutputFile(const wchar_t* path);

// Renames a file, replacing one of the new name.
bool RenameOutputFile(const wchar_t* from, const wchar_t* to);

}  // namespace platform
