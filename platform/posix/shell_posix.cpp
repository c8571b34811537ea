#include <spawn.h>
#include <sys/wait.h>

#include "platform/shell.h"
#include "platform/text.h"

extern char** environ;

namespace platform {

void OpenFolderInShell(const std::wstring& folder) {
  const std::string path = WideToUtf8(folder);
  char program[] = "xdg-open";
  char* argv[] = {program, const_cast<char*>(path.c_str()), nullptr};
  pid_t child = 0;
  if (posix_spawnp(&child, program, nullptr, nullptr, argv, environ) == 0) {
    int status = 0;
    waitpid(child, &status, 0);  // xdg-open hands the folder on and returns
  }
}

}  // namespace platform
