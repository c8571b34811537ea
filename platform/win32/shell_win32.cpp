#include <windows.h>
#include <shellapi.h>

#include "platform/shell.h"

namespace platform {

void OpenFolderInShell(const std::wstring& folder) {
  ShellExecuteW(nullptr, L"open", folder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace platform
