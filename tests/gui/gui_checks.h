// Checks of the GUI tests: a failed check ends the running scenario with its
// message. Waits poll with generous limits; none of them measures time.
#pragma once
#include <functional>
#include <stdexcept>
#include <string>

struct CheckFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] void FailCheck(const std::string& message);

#define GUI_CHECK(condition, message)                                          \
  do {                                                                         \
    if (!(condition)) FailCheck(std::string(#condition) + ": " + (message));  \
  } while (0)

// Polls until ready() is true; fails with what when the limit is reached.
void WaitUntil(const std::function<bool()>& ready, const std::string& what, unsigned limitSeconds = 120);

std::string Narrow(const std::wstring& text);
