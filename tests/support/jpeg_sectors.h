// Sector contents that the JPEG detector reacts to.
#pragma once
#include <cstdint>

#include "tests/support/fake_volume_access.h"

// A JFIF start sector whose first segment is segmentLength bytes long.
inline void PutJfifStart(FakeVolumeAccess& v, uint32_t sector, uint16_t segmentLength = 16) {
  v.SetSectorBytes(sector, 0, {0xFF, 0xD8, 0xFF, 0xE0, static_cast<uint8_t>(segmentLength >> 8),
                               static_cast<uint8_t>(segmentLength & 0xFF), 'J', 'F', 'I', 'F', 0});
}

inline void PutExifStart(FakeVolumeAccess& v, uint32_t sector, uint16_t segmentLength) {
  v.SetSectorBytes(sector, 0, {0xFF, 0xD8, 0xFF, 0xE1, static_cast<uint8_t>(segmentLength >> 8),
                               static_cast<uint8_t>(segmentLength & 0xFF), 'E', 'x', 'i', 'f', 0, 0});
}

// Some image data, then FF D9 ending at offset endOffset (the rest zeros).
inline void PutEnd(FakeVolumeAccess& v, uint32_t sector, uint32_t endOffset) {
  std::vector<uint8_t>& s = v.Sector(sector);
  for (uint32_t i = 0; i + 1 < endOffset; ++i) s[i] = static_cast<uint8_t>(0x11 + i % 200);
  s[endOffset - 1] = 0xFF;
  s[endOffset] = 0xD9;
}

// Image data filling a whole sector (no marker).
inline void PutData(FakeVolumeAccess& v, uint32_t sector) {
  std::vector<uint8_t>& s = v.Sector(sector);
  for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<uint8_t>(0x21 + i % 199);
}
