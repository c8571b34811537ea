#include "ntfs/data_runs.h"

RunPairResult NextRunPair(platform::ByteSpan runs, size_t* cursor, uint64_t* length, int64_t* delta, bool* sparse) {
  uint8_t header = 0;
  if (!runs.U8(*cursor, &header)) return RunPairResult::kCrossesEnd;
  const size_t lengthSize = header & 0x0F;
  const size_t offsetSize = header >> 4;
  if (lengthSize > 8 || offsetSize > 8) return RunPairResult::kUnsupported;
  size_t at = *cursor + 1;
  if (!runs.Contains(at, lengthSize + offsetSize)) return RunPairResult::kCrossesEnd;

  uint64_t count = 0;
  runs.Read(at, lengthSize, &count);
  if (static_cast<int64_t>(count) < 0) return RunPairResult::kUnsupported;
  at += lengthSize;

  uint64_t rawDelta = 0;
  if (offsetSize > 0) {
    runs.Read(at, offsetSize, &rawDelta);
    // Sign-extend from the top bit of the last byte of the field.
    if (offsetSize < 8 && (rawDelta >> (8 * offsetSize - 1)) & 1) rawDelta |= ~0ull << (8 * offsetSize);
  }
  at += offsetSize;

  *length = count;
  *delta = static_cast<int64_t>(rawDelta);
  *sparse = offsetSize == 0;
  *cursor = at;
  return RunPairResult::kDecoded;
}
