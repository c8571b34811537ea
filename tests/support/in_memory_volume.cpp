#include "tests/support/in_memory_volume.h"

#include <fcntl.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/mman.h>
#endif

#include <cstdio>
#include <cstdlib>

#include "platform/drive_table.h"

InMemoryVolume::InMemoryVolume(wchar_t driveLetter, const std::vector<uint8_t>& bytes) : letter_(driveLetter) {
#ifdef __linux__
  fd_ = memfd_create("quorvel-volume", MFD_CLOEXEC);
  if (fd_ >= 0) path_ = "/proc/self/fd/" + std::to_string(fd_);
#else
  char name[] = "quorvel-volume-XXXXXX";
  fd_ = mkstemp(name);
  if (fd_ >= 0) path_ = name;
#endif
  if (fd_ < 0) return;
  Reset(bytes);
  platform::MapDriveLetter(letter_, path_);
}

InMemoryVolume::~InMemoryVolume() {
  platform::UnmapDriveLetter(letter_);
  if (fd_ >= 0) close(fd_);
#ifndef __linux__
  if (!path_.empty()) std::remove(path_.c_str());
#endif
}

bool InMemoryVolume::Reset(const std::vector<uint8_t>& bytes) {
  if (fd_ < 0) return false;
  if (ftruncate(fd_, 0) != 0) return false;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = pwrite(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

std::vector<uint8_t> InMemoryVolume::Contents() const {
  std::vector<uint8_t> bytes;
  if (fd_ < 0) return bytes;
  const off_t size = lseek(fd_, 0, SEEK_END);
  if (size <= 0) return bytes;
  bytes.resize(static_cast<size_t>(size));
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = pread(fd_, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  bytes.resize(done);
  return bytes;
}
