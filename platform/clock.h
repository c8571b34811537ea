// Milliseconds since some fixed moment, wrapping at 2^32 (GetTickCount).
#pragma once
#include <cstdint>

namespace platform {

uint32_t TickCount();

}  // namespace platform
