#include "platform/diagnostics.h"

#include <cstdarg>
#include <cstdio>

namespace platform {

void Diagnostic(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::fflush(stdout);
}

}  // namespace platform
