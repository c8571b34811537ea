#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/last_error.h"
#include "platform/output_file.h"
#include "platform/text.h"

namespace platform {

OutputFileHandle CreateOutputFile(const wchar_t* path) {
  const std::string utf8 = WideToUtf8(path);
  const int fd = ::open(utf8.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) {
    SetLastErrorCode(static_cast<uint32_t>(errno));
    return kInvalidOutputFile;
  }
  return fd;
}

bool WriteOutputFile(OutputFileHandle file, const void* data, uint32_t length, uint32_t* written) {
  uint32_t total = 0;
  const char* in = static_cast<const char*>(data);
  while (total < length) {
    const ssize_t n = ::write(static_cast<int>(file), in + total, length - total);
    if (n < 0) {
      if (errno == EINTR) continue;
      SetLastErrorCode(static_cast<uint32_t>(errno));
      break;
    }
    if (n == 0) {
      SetLastErrorCode(ENOSPC);
      break;
    }
    total += static_cast<uint32_t>(n);
  }
  if (written) *written = total;
  return total == length;
}

bool CloseOutputFile(OutputFileHandle file) {
  if (file == kInvalidOutputFile) return true;
  if (::close(static_cast<int>(file)) != 0) {
    SetLastErrorCode(static_cast<uint32_t>(errno));
    return false;
  }
  return true;
}

}  // namespace platform

namespace platform {

bool RemoveOutputFile(const wchar_t* path) {
  if (::unlink(WideToUtf8(path).c_str()) != 0) {
    SetLastErrorCode(static_cast<uint32_t>(errno));
    return false;
  }
  return true;
}

bool RenameOutputFile(const wchar_t* from, const wchar_t* to) {
  if (std::rename(WideToUtf8(from).c_str(), WideToUtf8(to).c_str()) != 0) {
    SetLastErrorCode(static_cast<uint32_t>(errno));
    return false;
  }
  return true;
}

}  // namespace platform
