// Opening a folder in the system's file browser.
#pragma once
#include <string>

namespace platform {

// Fire and forget: the result is not waited for.
void OpenFolderInShell(const std::wstring& folder);

}  // namespace platform
