// printf-style formatting into a wide string. Texts are short (a few dozen
// characters); anything past the buffer is cut.
#pragma once
#include <cstdarg>
#include <string>

std::wstring FormatWide(const wchar_t* format, ...);
std::wstring FormatWideV(const wchar_t* format, va_list args);
