#include "engine/wide_format.h"

#include <cwchar>

std::wstring FormatWideV(const wchar_t* format, va_list args) {
  wchar_t buffer[256];
  const int n = std::vswprintf(buffer, sizeof buffer / sizeof buffer[0], format, args);
  if (n < 0) buffer[sizeof buffer / sizeof buffer[0] - 1] = 0;
  return buffer;
}

std::wstring FormatWide(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  std::wstring text = FormatWideV(format, args);
  va_end(args);
  return text;
}
