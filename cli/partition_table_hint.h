// A user who points the program at a whole disk instead of one of its
// partitions gets told so, instead of only "not a FAT32 volume".
#pragma once
#include <string>

// When SOURCE begins with a partition table (MBR or GPT) rather than a
// volume's boot sector, a sentence saying what to do; empty otherwise.
std::string PartitionTableHint(const std::string& source);
