// One positioned read from a volume device, as both volume accesses do it:
// seek, read, a diagnostic line on failure, and the unread rest of the buffer
// zero-filled so that nothing stale is examined or written out.
#pragma once
#include <cstdint>

#include "platform/device.h"

// sectorForMessage is the sector number named in the positioning diagnostic.
bool ReadDeviceAt(platform::DeviceHandle device, uint64_t byteOffset, uint32_t sectorForMessage,
                  uint8_t* buffer, uint64_t length);
