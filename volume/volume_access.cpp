#include "volume/volume_access.h"

uint32_t CVolumeAccess::GetClusterCount() { return 0; }
uint32_t CVolumeAccess::GetBytesPerCluster() { return 0; }
uint32_t CVolumeAccess::GetBytesPerSector() { return 0; }
bool CVolumeAccess::IsClusterUsed(uint32_t) { return true; }
CVolumeAccess::~CVolumeAccess() = default;
uint32_t CVolumeAccess::ClusterToSector(uint32_t) { return 0; }
bool CVolumeAccess::ReadSectors(uint32_t, uint32_t, uint8_t*) { return true; }
bool CVolumeAccess::ReadClusters(uint32_t, uint32_t, uint8_t*) { return true; }
