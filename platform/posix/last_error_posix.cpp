#include <cerrno>
#include <cstring>

#include "platform/last_error.h"

namespace platform {

uint32_t LastErrorCode() { return static_cast<uint32_t>(errno); }

void SetLastErrorCode(uint32_t code) { errno = static_cast<int>(code); }

std::string DescribeError(uint32_t code) { return std::strerror(static_cast<int>(code)); }

}  // namespace platform
