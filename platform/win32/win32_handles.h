// The platform layer's handle values are the Win32 HANDLE values themselves.
#pragma once
#include <windows.h>

#include <cstdint>

namespace platform {

inline HANDLE ToHandle(intptr_t value) { return reinterpret_cast<HANDLE>(value); }
inline intptr_t FromHandle(HANDLE handle) { return reinterpret_cast<intptr_t>(handle); }

}  // namespace platform
