#include <windows.h>

#include "platform/last_error.h"
#include "platform/output_file.h"

namespace platform {

bool RemoveOutputFile(const wchar_t* path) { return DeleteFileW(path) != FALSE; }

bool RenameOutputFile(const wchar_t* from, const wchar_t* to) {
  return MoveFileExW(from, to, MOVEFILE_REPLACE_EXISTING) != FALSE;
}

}  // namespace platform
