#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "cli/source_checks.h"
#include "platform/drive_table.h"

namespace {

SourceCheck Fail(std::string message) { return SourceCheck{false, std::move(message)}; }

std::string RealPath(const std::string& path) {
  char buffer[PATH_MAX];
  return ::realpath(path.c_str(), buffer) ? std::string(buffer) : path;
}

// The file a loop device reads from, when the device is one.
std::string LoopBackingFile(dev_t device) {
  const std::string sysPath = "/sys/dev/block/" + std::to_string(major(device)) + ":" +
                              std::to_string(minor(device)) + "/loop/backing_file";
  std::ifstream in(sysPath);
  std::string backing;
  std::getline(in, backing);
  return backing;
}

}  // namespace

SourceCheck CheckSource(const std::string& source) {
  struct stat st {};
  if (::stat(source.c_str(), &st) != 0) return Fail("Cannot find " + source + ": " + std::strerror(errno));
  if (!S_ISBLK(st.st_mode) && !S_ISREG(st.st_mode)) {
    return Fail(source + " is neither a block device nor a disk image file");
  }
  const int fd = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Fail("Cannot read " + source + ": " + std::strerror(errno));
  char sector[512];
  const ssize_t n = ::pread(fd, sector, sizeof sector, 0);
  const int readError = errno;
  ::close(fd);
  if (n < 0) return Fail("Cannot read " + source + ": " + std::strerror(readError));
  if (n < static_cast<ssize_t>(sizeof sector)) return Fail(source + " is too small to hold a FAT32 or NTFS volume");
  return SourceCheck{true, {}};
}

SourceCheck CheckOutputFolder(const std::string& folder, const std::string& source, std::string* absoluteFolder) {
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) return Fail("Output folder " + folder + ": " + std::strerror(errno));
  if (!S_ISDIR(st.st_mode)) return Fail("Output folder " + folder + " is not a folder");
  *absoluteFolder = RealPath(folder);

  struct stat sourceStat {};
  if (::stat(source.c_str(), &sourceStat) == 0) {
    const bool sameBlockDevice = S_ISBLK(sourceStat.st_mode) && sourceStat.st_rdev == st.st_dev;
    const bool insideImage = S_ISREG(sourceStat.st_mode) && LoopBackingFile(st.st_dev) == RealPath(source);
    if (sameBlockDevice || insideImage) {
      return Fail("Output folder " + folder + " lies on the volume being scanned; writing there would overwrite "
                  "the photos being recovered. Choose a folder on another drive.");
    }
  }

  // Try a file for real: permissions alone do not tell (a read-only mount,
  // or root on a folder without write bits).
  const std::string probe = *absoluteFolder + "/.quorvel-write-test-" + std::to_string(::getpid());
  const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
  if (fd < 0) return Fail("Cannot write to output folder " + folder + ": " + std::strerror(errno));
  ::close(fd);
  ::unlink(probe.c_str());
  return SourceCheck{true, {}};
}

SourceCheck MapSourceToDrive(const std::string& source, wchar_t* letter) {
  // Any letter will do: the drive table is the program's own.
  *letter = L'C';
  if (!platform::MapDriveLetter(*letter, source)) return Fail("Cannot map " + source + " to a drive");
  return SourceCheck{true, {}};
}

void UnmapSourceDrive(wchar_t letter) { platform::UnmapDriveLetter(letter); }

bool ProgressIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }
