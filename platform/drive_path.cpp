#include "platform/drive_table.h"

#include <cwctype>

namespace platform {

wchar_t DriveLetterOfPath(const wchar_t* path) {
  if (path == nullptr) return 0;
  const wchar_t* p = path;
  // Skip a device prefix "\\.\" or "\\?\".
  if (p[0] == L'\\' && p[1] == L'\\' && (p[2] == L'.' || p[2] == L'?') && p[3] == L'\\') p += 4;
  if (p[0] != 0 && p[1] == L':' && std::iswalpha(static_cast<wint_t>(p[0]))) {
    return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(p[0])));
  }
  return 0;
}

}  // namespace platform
