#include <windows.h>

#include "platform/output_file.h"
#include "platform/win32/win32_handles.h"

namespace platform {

OutputFileHandle CreateOutputFile(const wchar_t* path) {
  HANDLE handle = CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  return handle == INVALID_HANDLE_VALUE ? kInvalidOutputFile : FromHandle(handle);
}

bool WriteOutputFile(OutputFileHandle file, const void* data, uint32_t length, uint32_t* written) {
  uint32_t total = 0;
  const char* in = static_cast<const char*>(data);
  while (total < length) {
    DWORD n = 0;
    if (!WriteFile(ToHandle(file), in + total, length - total, &n, nullptr)) break;
    if (n == 0) {
      SetLastError(ERROR_DISK_FULL);
      break;
    }
    total += n;
  }
  if (written) *written = total;
  return total == length;
}

bool CloseOutputFile(OutputFileHandle file) {
  if (file == kInvalidOutputFile) return true;
  return CloseHandle(ToHandle(file)) != 0;
}

}  // namespace platform
