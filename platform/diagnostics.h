// Diagnostic lines of the device and volume code, on standard output.
#pragma once

namespace platform {

void Diagnostic(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// Called before each diagnostic line is written (for instance to end a
// progress line on the same terminal first). Null for none.
void SetBeforeDiagnosticHook(void (*hook)());

}  // namespace platform
