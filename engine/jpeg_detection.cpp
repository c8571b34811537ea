// Where JPEG images begin and end: a start marker at the first byte of a
// sector, an end marker FF D9 as the last non-zero bytes of a sector.
#include <cstring>

#include "engine/jpeg_scanner.h"

namespace {

// FF D8 FF E0 + "JFIF" at offset 6, or FF D8 FF E1 + "Exif" at offset 6.
bool IsStartSector(const uint8_t* p) {
  static const uint8_t kJfif[4] = {0xFF, 0xD8, 0xFF, 0xE0};
  static const uint8_t kExif[4] = {0xFF, 0xD8, 0xFF, 0xE1};
  if (std::memcmp(p, kJfif, 4) == 0) return std::memcmp(p + 6, "JFIF", 4) == 0;
  if (std::memcmp(p, kExif, 4) == 0) return std::memcmp(p + 6, "Exif", 4) == 0;
  return false;
}

// Offset of the last non-zero byte at offset 2 or above, or 0 when there is none.
uint32_t LastNonZeroOffset(const uint8_t* p, uint32_t bytesPerSector) {
  for (uint32_t i = bytesPerSector - 1; i >= 2; --i) {
    if (p[i] != 0) return i;
  }
  return 0;
}

}  // namespace

void CJpegScanner::ExamineSectors(uint32_t first, uint32_t last, uint8_t* buffer) {
  Access->ReadClusters(first, last, buffer);

  if (first - PrevChunkLastCluster != 1) DetectorState = 0;
  PrevChunkLastCluster = last;

  const uint32_t total = (last - first + 1) * SectorsPerCluster;
  const uint32_t base = Access->ClusterToSector(first);

  for (uint32_t d = 0; d < total; ++d) {
    const uint8_t* p = buffer + static_cast<size_t>(d) * BytesPerSector;
    const uint32_t s = base + d;

    if (IsStartSector(p)) {
      ImageStartSector = s;
      DetectorState = 1;
      const uint32_t segmentLength = static_cast<uint32_t>(p[4]) * 256u + p[5];
      d += segmentLength / BytesPerSector;
      continue;
    }

    if (DetectorState != 0) {
      const uint32_t i = LastNonZeroOffset(p, BytesPerSector);
      if (i != 0 && p[i] == 0xD9 && p[i - 1] == 0xFF) {
        LastEndSector = s;
        LastEndOffset = i;
        AddFoundRange(tagJpegRange{DetectorState, ImageStartSector, s, i});
        DetectorState = 0;
      }
      continue;
    }

    if (p[0] == 0xFF && p[1] == 0xD8 && p[2] == 0xFF && s == LastEndSector + 1) {
      if (!FoundRanges.empty()) FoundRanges.pop_back();
      DetectorState = 255;
    }
  }
}

void CJpegScanner::AddFoundRange(tagJpegRange range) {
  ++FoundCount;
  SetControlText(kFoundTextControl, L"找到%u个文件", FoundCount);
  ScanDialog->SetFoundCount(FoundCount);
  FoundRanges.push_back(range);
}
