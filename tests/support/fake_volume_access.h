// A volume access over sparse sectors in memory, with a chosen geometry and
// set of used clusters, that records what the scanner asks of it.
#pragma once
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "volume/volume_access.h"

class FakeVolumeAccess : public CVolumeAccess {
 public:
  FakeVolumeAccess(uint32_t totalClusters, uint32_t bytesPerSector, uint32_t sectorsPerCluster)
      : total_(totalClusters), bps_(bytesPerSector), spc_(sectorsPerCluster) {}

  uint32_t GetClusterCount() override { return total_; }
  uint32_t GetBytesPerCluster() override { return bps_ * spc_; }
  uint32_t GetBytesPerSector() override { return bps_; }
  bool IsClusterUsed(uint32_t cluster) override {
    if (cluster >= total_) askedPastEnd = true;
    return used_.count(cluster) != 0;
  }
  uint32_t ClusterToSector(uint32_t cluster) override { return cluster * spc_ + sectorOrigin; }
  bool ReadSectors(uint32_t first, uint32_t last, uint8_t* buffer) override {
    sectorReads.emplace_back(first, last);
    Fill(first, last - first + 1, buffer);
    return true;
  }
  bool ReadClusters(uint32_t first, uint32_t last, uint8_t* buffer) override {
    clusterReads.emplace_back(first, last);
    if (onClusterRead) onClusterRead(first, last);
    Fill(ClusterToSector(first), (last - first + 1) * spc_, buffer);
    return true;
  }

  void MarkUsed(uint32_t first, uint32_t last) {
    for (uint32_t c = first; c <= last; ++c) used_.insert(c);
  }
  // Sector contents; sectors never set read as zeros.
  std::vector<uint8_t>& Sector(uint32_t sector) {
    auto& bytes = sectors_[sector];
    bytes.resize(bps_);
    return bytes;
  }
  void SetSectorBytes(uint32_t sector, size_t offset, std::initializer_list<uint8_t> bytes) {
    std::vector<uint8_t>& s = Sector(sector);
    size_t i = offset;
    for (uint8_t b : bytes) s.at(i++) = b;
  }

  uint32_t sectorOrigin = 0;
  bool askedPastEnd = false;
  std::vector<std::pair<uint32_t, uint32_t>> clusterReads;
  std::vector<std::pair<uint32_t, uint32_t>> sectorReads;
  void (*onClusterRead)(uint32_t, uint32_t) = nullptr;

 private:
  void Fill(uint32_t firstSector, uint32_t count, uint8_t* buffer) {
    std::memset(buffer, 0, static_cast<size_t>(count) * bps_);
    for (auto it = sectors_.lower_bound(firstSector); it != sectors_.end() && it->first - firstSector < count; ++it) {
      std::memcpy(buffer + static_cast<size_t>(it->first - firstSector) * bps_, it->second.data(), bps_);
    }
  }

  uint32_t total_, bps_, spc_;
  std::set<uint32_t> used_;
  std::map<uint32_t, std::vector<uint8_t>> sectors_;
};
