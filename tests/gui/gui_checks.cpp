#include "tests/gui/gui_checks.h"

#include <windows.h>

#include "platform/text.h"

void FailCheck(const std::string& message) { throw CheckFailure(message); }

void WaitUntil(const std::function<bool()>& ready, const std::string& what, unsigned limitSeconds) {
  const ULONGLONG limit = GetTickCount64() + static_cast<ULONGLONG>(limitSeconds) * 1000u;
  while (!ready()) {
    if (GetTickCount64() > limit) FailCheck("gave up waiting for " + what);
    Sleep(50);
  }
}

std::string Narrow(const std::wstring& text) { return platform::WideToUtf8(text); }
