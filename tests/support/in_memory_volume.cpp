#include "tests/support/in_memory_volume.h"

#include <cstdio>
#include <cstdlib>

#include "platform/drive_table.h"

#ifdef __linux__
// On Linux the bytes live in an anonymous memory file, opened by its
// /proc/self/fd path.
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

InMemoryVolume::InMemoryVolume(wchar_t driveLetter, const std::vector<uint8_t>& bytes) : letter_(driveLetter) {
  fd_ = memfd_create("quorvel-volume", MFD_CLOEXEC);
  if (fd_ >= 0) path_ = "/proc/self/fd/" + std::to_string(fd_);
  if (fd_ < 0) return;
  Reset(bytes);
  platform::MapDriveLetter(letter_, path_);
}

InMemoryVolume::~InMemoryVolume() {
  platform::UnmapDriveLetter(letter_);
  if (fd_ >= 0) close(fd_);
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

#else
// Elsewhere the bytes live in a temporary file that Reset rewrites whole;
// no descriptor is held (fd_ is 0 once the file exists), so the device code
// can open the file in its own way.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

std::string NewTemporaryPath() {
  static std::atomic<unsigned> counter{0};
  const auto name = "quorvel-volume-" + std::to_string(std::rand()) + "-" + std::to_string(counter++);
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
  return (error ? std::filesystem::path(name) : folder / name).string();
}

}  // namespace

InMemoryVolume::InMemoryVolume(wchar_t driveLetter, const std::vector<uint8_t>& bytes) : letter_(driveLetter) {
  path_ = NewTemporaryPath();
  if (!std::ofstream(path_, std::ios::binary | std::ios::trunc)) return;
  fd_ = 0;
  Reset(bytes);
  platform::MapDriveLetter(letter_, path_);
}

InMemoryVolume::~InMemoryVolume() {
  platform::UnmapDriveLetter(letter_);
  if (fd_ >= 0) std::remove(path_.c_str());
}

bool InMemoryVolume::Reset(const std::vector<uint8_t>& bytes) {
  if (fd_ < 0) return false;
  std::ofstream out(path_, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out.flush());
}

std::vector<uint8_t> InMemoryVolume::Contents() const {
  if (fd_ < 0) return {};
  std::ifstream in(path_, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

#endif
