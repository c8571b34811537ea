#include <windows.h>

#include "platform/clock.h"

namespace platform {

uint32_t TickCount() { return GetTickCount(); }

}  // namespace platform
