// quorvel_gui_tests --program PATH --photos DIR --work DIR --fat X: --large X:
//                   --empty X: --removable X: --cdrom X: [--ntfs X:] [--only TEXT]
// Runs every scenario (or those whose name contains TEXT) and prints one
// line per scenario. Exit status 0 when all passed.
#include <windows.h>

#include <cstdio>
#include <map>
#include <string>

#include "tests/gui/gui_checks.h"
#include "tests/gui/scenarios.h"

int wmain(int argc, wchar_t** argv) {
  std::map<std::wstring, std::wstring> options;
  for (int i = 1; i + 1 < argc; i += 2) options[argv[i]] = argv[i + 1];
  GuiTestSetup setup;
  setup.program = options[L"--program"];
  setup.photos = options[L"--photos"];
  setup.workFolder = options[L"--work"];
  setup.fatDrive = options[L"--fat"];
  setup.ntfsDrive = options[L"--ntfs"];
  setup.largeDrive = options[L"--large"];
  setup.emptyDrive = options[L"--empty"];
  setup.removableDrive = options[L"--removable"];
  setup.cdromDrive = options[L"--cdrom"];
  const std::string only = Narrow(options[L"--only"]);
  if (setup.program.empty() || setup.photos.empty() || setup.workFolder.empty() || setup.fatDrive.empty() ||
      setup.largeDrive.empty() || setup.emptyDrive.empty() || setup.removableDrive.empty() || setup.cdromDrive.empty()) {
    std::fprintf(stderr, "quorvel_gui_tests: missing options (see the source's first lines)\n");
    return 2;
  }

  std::vector<Scenario> scenarios = DialogScenarios();
  for (const Scenario& scenario : ScanScenarios(setup)) scenarios.push_back(scenario);

  int passed = 0;
  int failed = 0;
  for (const Scenario& scenario : scenarios) {
    if (!only.empty() && scenario.name.find(only) == std::string::npos) continue;
    std::printf("RUN  %s\n", scenario.name.c_str());
    std::fflush(stdout);
    try {
      scenario.run(setup);
      std::printf("PASS %s\n", scenario.name.c_str());
      ++passed;
    } catch (const CheckFailure& failure) {
      std::printf("FAIL %s: %s\n", scenario.name.c_str(), failure.what());
      ++failed;
    }
    std::fflush(stdout);
  }
  std::printf("GUI tests: %d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
