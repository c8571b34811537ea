// The console program's entry on Windows: the command line arrives as UTF-16
// and is handed on as UTF-8, the program's text encoding, and the console is
// told to show UTF-8.
#include <windows.h>

#include <string>
#include <vector>

#include "cli/cli_main.h"
#include "platform/text.h"

int wmain(int argc, wchar_t** argv) {
  SetConsoleOutputCP(CP_UTF8);
  std::vector<std::string> words;
  for (int i = 0; i < argc; ++i) words.push_back(platform::WideToUtf8(argv[i]));
  std::vector<char*> pointers;
  for (std::string& word : words) pointers.push_back(&word[0]);
  pointers.push_back(nullptr);
  const int status = QuorvelMain(argc, pointers.data());
  return status;
}
