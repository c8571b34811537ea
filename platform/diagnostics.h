// Diagnostic lines of the device and volume code, on standard output.
#pragma once

namespace platform {

void Diagnostic(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

}  // namespace platform
