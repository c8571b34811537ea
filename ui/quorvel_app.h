// The program: common controls and control hosting, then the main dialog
// for as long as the program lives.
#pragma once
#include "ui/application.h"

class CQuorvelApp : public CApplication {
 public:
  bool InitInstance() override;
};
