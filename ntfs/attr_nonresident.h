// A non-resident attribute: its value lies in clusters of the volume, found
// through the data runs decoded at construction.
#pragma once
#include <cstdint>
#include <memory>

#include "ntfs/attr_base.h"
#include "ntfs/data_runs.h"
#include "ntfs/slist.h"

class CAttrNonResident : public CAttrBase {
 public:
  // A header is built as non-resident only when it holds the whole
  // non-resident header and its data runs start inside the attribute.
  static bool HeaderIsSound(platform::ByteSpan attribute);

  CAttrNonResident(platform::ByteSpan attribute, const CFileRecord& owner);

  bool RunsDecoded() override { return RunsOK; }
  uint64_t GetValueSize(uint64_t* allocatedSize = nullptr) override;
  bool ReadValue(const uint64_t& offset, void* buffer, uint32_t length, uint32_t* bytesRead) override;

  CSList<tagDataRun_Entry>& GetRuns() { return Runs; }

 protected:
  bool DecodeRuns();
  // Reads count whole clusters at lcn (-1: a sparse run, zeros).
  bool ReadLcnClusters(int64_t lcn, uint64_t count, uint8_t* buffer);
  // Reads count clusters of the value from virtual cluster vcn; *bytesOut
  // tells how many bytes were read (fewer when a run is missing).
  bool ReadVcnClusters(uint64_t vcn, uint64_t count, uint8_t* buffer, uint64_t bufferSize, uint64_t* bytesOut);
  // The number of virtual clusters the header says this object covers.
  uint64_t VcnRangeSize() const;
  uint8_t* ClusterScratch();

  CSList<tagDataRun_Entry> Runs;
  bool RunsOK = false;
  // One cluster of scratch space for reads that start or end inside a
  // cluster; allocated on first use.
  std::unique_ptr<uint8_t[]> ClusterBuffer;
};
