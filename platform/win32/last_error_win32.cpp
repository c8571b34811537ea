#include <windows.h>

#include <string>

#include "platform/last_error.h"
#include "platform/text.h"

namespace platform {

uint32_t LastErrorCode() { return GetLastError(); }

void SetLastErrorCode(uint32_t code) { SetLastError(code); }

std::string DescribeError(uint32_t code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
      reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = length && text ? std::wstring(text, length) : std::wstring();
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
    message.pop_back();
  }
  if (message.empty()) return "error " + std::to_string(code);
  return WideToUtf8(message);
}

}  // namespace platform
