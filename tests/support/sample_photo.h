// A tiny JPEG-shaped file: a JFIF start, filler without markers, FF D9.
#pragma once
#include <cstdint>
#include <cstring>
#include <vector>

inline std::vector<uint8_t> SmallJfifPhoto(size_t size = 700) {
  std::vector<uint8_t> photo(size);
  const uint8_t start[] = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0x00};
  std::memcpy(photo.data(), start, sizeof start);
  for (size_t i = sizeof start; i < photo.size() - 2; ++i) photo[i] = static_cast<uint8_t>(1 + i % 250);
  photo[photo.size() - 2] = 0xFF;
  photo[photo.size() - 1] = 0xD9;
  return photo;
}
