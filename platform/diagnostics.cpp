#include "platform/diagnostics.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>

namespace platform {
namespace {

std::atomic<void (*)()> g_beforeDiagnostic{nullptr};

}  // namespace

void SetBeforeDiagnosticHook(void (*hook)()) { g_beforeDiagnostic.store(hook); }

void Diagnostic(const char* format, ...) {
  if (void (*hook)() = g_beforeDiagnostic.load()) hook();
  va_list args;
  va_start(args, format);
  std::vprintf(format, args);
  va_end(args);
  std::fflush(stdout);
}

}  // namespace platform
