// The output folder must not lie on the partition being scanned: every file
// written there could overwrite the very clusters being recovered.
#pragma once
#include <string>

// The refusal shown when it does.
extern const wchar_t kSameDriveRefusal[];

// True when the folder's drive letter is the partition's ("F:" from the
// partition list), whatever the case of either letter.
bool IsOnScannedPartition(const std::wstring& partitionText, const std::wstring& folder);
