#include "volume/device_reader.h"

#include <cstring>

#include "platform/diagnostics.h"
#include "platform/last_error.h"

bool ReadDeviceAt(platform::DeviceHandle device, uint64_t byteOffset, uint32_t sectorForMessage,
                  uint8_t* buffer, uint64_t length) {
  if (!platform::SeekDevice(device, byteOffset)) {
    platform::Diagnostic("Failed accesing sector number %d - SetPointer FAILED! 0x%X\n",
                         static_cast<int>(sectorForMessage), platform::LastErrorCode());
    std::memset(buffer, 0, length);
    return false;
  }
  // One read per call; lengths above 4 GiB never occur (at most 40000 sectors).
  const uint32_t wanted = length > UINT32_MAX ? UINT32_MAX : static_cast<uint32_t>(length);
  uint32_t got = 0;
  if (!platform::ReadDevice(device, buffer, wanted, &got)) {
    platform::Diagnostic("Error reading from the device, Code: 0x%X\n", platform::LastErrorCode());
    if (got < length) std::memset(buffer + got, 0, length - got);
    return false;
  }
  if (got < length) {
    std::memset(buffer + got, 0, length - got);
    platform::Diagnostic("Reached the end of the device: read %u of %llu bytes at byte %llu\n", got,
                         static_cast<unsigned long long>(length), static_cast<unsigned long long>(byteOffset));
    return false;
  }
  return true;
}
