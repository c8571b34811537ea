// The calling thread's last system error code, and its text.
#pragma once
#include <cstdint>
#include <string>

namespace platform {

uint32_t LastErrorCode();
void SetLastErrorCode(uint32_t code);
std::string DescribeError(uint32_t code);

}  // namespace platform
