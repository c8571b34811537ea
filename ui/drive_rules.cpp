#include "ui/drive_rules.h"

#include <cwctype>

const wchar_t kSameDriveRefusal[] = L"扫描的分区和存放恢复后文件的盘符不能是同一盘符,请选择其它盘!";

bool IsOnScannedPartition(const std::wstring& partitionText, const std::wstring& folder) {
  if (partitionText.empty() || folder.empty()) return false;
  return std::towupper(static_cast<wint_t>(partitionText[0])) == std::towupper(static_cast<wint_t>(folder[0]));
}
