// The scenarios of the GUI tests. Each one starts its own run of the program.
#pragma once
#include <string>
#include <vector>

#include "tests/gui/gui_session.h"

struct Scenario {
  std::string name;
  void (*run)(const GuiTestSetup& setup);
};

// The NTFS scenario runs when the setup names an NTFS drive.
std::vector<Scenario> ScanScenarios(const GuiTestSetup& setup);
std::vector<Scenario> DialogScenarios();
