// Test helper: opens an NTFS image exactly as the scan does and prints what
// it loaded, so that end-to-end tests can compare it with other readers.
//   quorvel_ntfs_dump IMAGE geometry      prints the geometry, one key=value a line
//   quorvel_ntfs_dump IMAGE bitmap FILE   writes the loaded cluster bitmap to FILE
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "ntfs/ntfs_volume.h"
#include "platform/drive_table.h"
#include "volume/ntfs_volume_access.h"

int main(int argc, char** argv) {
  if (argc < 3 || (std::strcmp(argv[2], "bitmap") == 0 && argc < 4)) {
    std::fprintf(stderr, "usage: %s IMAGE geometry | IMAGE bitmap FILE\n", argv[0]);
    return 2;
  }
  const wchar_t letter = L'Q';
  platform::MapDriveLetter(letter, argv[1]);
  NtfsOpenedVolume opened;
  if (!OpenNtfsClusterBitmap(letter, &opened)) {
    std::fprintf(stderr, "%s: %s\n", argv[1], opened.Error.c_str());
    return 1;
  }
  const CNTFSVolume& v = *opened.Volume;
  if (std::strcmp(argv[2], "geometry") == 0) {
    std::printf("sector_size=%u\ncluster_size=%u\ntotal_sectors=%" PRIu64 "\ntotal_clusters=%" PRIu64
                "\nmft_cluster=%" PRIu64 "\nrecord_size=%u\nindex_block_size=%u\nversion=%u.%u\nbitmap_size=%" PRIu64
                "\n",
                v.BytesPerSector, v.BytesPerCluster, v.TotalSectors, v.TotalSectors / v.SectorsPerCluster,
                v.MftStartOffset / v.BytesPerCluster, v.FileRecordSize, v.IndexBlockSize, v.NtfsVersion >> 8,
                v.NtfsVersion & 0xFF, opened.ClusterBitmapSize);
    return 0;
  }
  FILE* out = std::fopen(argv[3], "wb");
  if (out == nullptr) return 1;
  const size_t size = static_cast<size_t>(opened.ClusterBitmapSize);
  const bool ok = std::fwrite(opened.ClusterBitmap.get(), 1, size, out) == size;
  return std::fclose(out) == 0 && ok ? 0 : 1;
}
