// The web pane of the main dialog: the system's web-browser control
// {8856F961-340A-11D0-A96B-00C04FD705A2}, created by the dialog template in a
// hosting window (control_hosting.h) and attached by data exchange.
#pragma once
#include <string>

#include "ui/window.h"

class CExplorer1 : public CWindow {
 public:
  // Starts loading the page and returns at once; the result is not looked
  // at. Without a control it does nothing.
  void Navigate(const std::wstring& url);
};
