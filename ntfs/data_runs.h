// Decoding of NTFS data runs (mapping pairs): each run is a header byte whose
// low four bits give the size of a cluster-count field and whose high four
// bits give the size of a signed LCN-delta field; a header byte of 0 ends the
// list. Every byte is read inside the span of the attribute that holds them.
#pragma once
#include <cstdint>

#include "platform/byte_span.h"

// One decoded run.
struct tagDataRun_Entry {
  int64_t Lcn = 0;            // first logical cluster; -1 for a sparse run
  uint64_t ClusterCount = 0;  // run length in clusters
  uint64_t StartVcn = 0;      // first virtual cluster of the run
  uint64_t LastVcn = 0;       // StartVcn + ClusterCount - 1
};

enum class RunPairResult {
  kDecoded,      // one run decoded, cursor advanced past it
  kUnsupported,  // a field wider than 8 bytes or a negative length: the list ends here
  kCrossesEnd,   // the run's fields reach past the end of the span
};

// Decodes the run at *cursor inside runs. A delta of 0 with an offset field
// of size 0 marks a sparse run (*sparse true).
RunPairResult NextRunPair(platform::ByteSpan runs, size_t* cursor, uint64_t* length, int64_t* delta, bool* sparse);
