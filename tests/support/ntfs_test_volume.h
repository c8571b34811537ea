// An NTFS volume from bytes in memory, opened the way the scan opens one.
#pragma once
#include "ntfs/ntfs_volume.h"
#include "tests/support/in_memory_volume.h"
#include "tests/support/ntfs_image_builder.h"

struct NtfsTestVolume {
  explicit NtfsTestVolume(const Bytes& bytes, wchar_t letter = L'N') : memory(letter, bytes), volume(letter) {}
  InMemoryVolume memory;
  CNTFSVolume volume;
};
