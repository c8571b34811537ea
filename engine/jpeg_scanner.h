// One scan pass over one volume: the walk over the free clusters, the JPEG
// boundary detection, the writer of the found images and the completion.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/scan_dialog.h"
#include "volume/volume_access.h"

// One found image, by sectors of the access that found it.
struct tagJpegRange {
  int32_t State;         // detector state at the end marker: 1, or 255 for a continuation
  uint32_t FirstSector;  // sector holding the start marker
  uint32_t LastSector;   // sector holding the end marker
  uint32_t EndOffset;    // offset of the end marker's D9 byte in LastSector
};

class CJpegScanner {
 public:
  static constexpr uint32_t kChunkSectors = 40000;
  // Output file numbers are the first sector plus this.
  static constexpr uint32_t kFileNumberBase = 1982;
  // Room for an output path, terminator included.
  static constexpr size_t kOutputPathCapacity = 512;

  enum class PassResult {
    kCompleted,   // written and summarised (also after a stop or a late abort)
    kAborted,     // aborted during the walk: nothing written, nothing shown
    kNoBuffer,    // the chunk buffer could not be allocated: nothing scanned
  };

  explicit CJpegScanner(CVolumeAccess* access);
  ~CJpegScanner();
  CJpegScanner(const CJpegScanner&) = delete;
  CJpegScanner& operator=(const CJpegScanner&) = delete;

  PassResult RunScan(IScanDialog* dialog);

  // The walk.
  uint32_t FindFreeRunEnd(uint32_t first);
  uint32_t SkipUsedClusters(uint32_t last);
  void ReportProgress(uint32_t cluster);

  // Detection.
  void ExamineSectors(uint32_t first, uint32_t last, uint8_t* buffer);
  void AddFoundRange(tagJpegRange range);

  // Writer and completion.
  void WriteAllRanges();
  bool WriteRange(tagJpegRange range);
  void CompletePass();

  // Read access for callers and tests.
  const std::vector<tagJpegRange>& FoundRangesList() const { return FoundRanges; }
  uint32_t FoundCountValue() const { return FoundCount; }
  uint32_t FailedCountValue() const { return FailedCount; }
  uint32_t ClustersPerChunkValue() const { return ClustersPerChunk; }
  uint8_t* ChunkBufferData() { return ChunkBuffer.get(); }
  // Attaches a dialog without running a pass (tests drive single steps).
  void AttachDialog(IScanDialog* dialog) { ScanDialog = dialog; }

 private:
  bool SetControlText(int controlId, const wchar_t* format, ...);
  bool FormatOutputPath(uint32_t firstSector, std::wstring* path) const;
  void ReportWriteFailure(const std::wstring& path, const std::string& reason);
  std::string SetAsideIncompleteFile(const std::wstring& path, uint64_t bytesStored);

  std::vector<tagJpegRange> FoundRanges;
  CVolumeAccess* Access;
  IScanDialog* ScanDialog = nullptr;
  uint32_t TotalClusters;
  uint32_t BytesPerCluster;
  uint32_t BytesPerSector;
  uint32_t FoundCount = 0;
  uint32_t SectorsPerCluster;
  std::wstring ProgressText;
  std::unique_ptr<uint8_t[]> ChunkBuffer;
  uint32_t ClustersPerChunk;
  int32_t DetectorState = 0;
  uint32_t ImageStartSector = 0;
  uint32_t LastEndSector = 0;
  uint32_t LastEndOffset = 0;
  uint32_t PrevChunkLastCluster = 1;

  uint32_t PassStartTick = 0;
  // Found images that could not be stored whole in the last writer run.
  uint32_t FailedCount = 0;
};
