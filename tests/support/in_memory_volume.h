// A volume made of bytes in memory, reachable through the platform layer by
// a drive letter like any real device, for unit tests and fuzz targets.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class InMemoryVolume {
 public:
  // Maps the bytes to driveLetter. The bytes are copied.
  InMemoryVolume(wchar_t driveLetter, const std::vector<uint8_t>& bytes);
  ~InMemoryVolume();
  InMemoryVolume(const InMemoryVolume&) = delete;
  InMemoryVolume& operator=(const InMemoryVolume&) = delete;

  bool ok() const { return fd_ >= 0; }
  wchar_t letter() const { return letter_; }
  // Replaces the contents (same letter).
  bool Reset(const std::vector<uint8_t>& bytes);
  // Reads the current contents back (to check that nothing was written).
  std::vector<uint8_t> Contents() const;

 private:
  wchar_t letter_;
  int fd_ = -1;
  std::string path_;
};
