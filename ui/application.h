// The application object: one global instance of a class derived from this,
// whose InitInstance the program's entry point runs. A false result ends the
// program at once; true runs a message loop until WM_QUIT.
#pragma once
#include <windows.h>

#include <string>

class CApplication {
 public:
  CApplication();
  virtual ~CApplication();
  CApplication(const CApplication&) = delete;
  CApplication& operator=(const CApplication&) = delete;

  virtual bool InitInstance() = 0;
  virtual int ExitInstance() { return 0; }

  // Runs the program; called once by the entry point.
  int Run(HINSTANCE instance);

  static CApplication* Current();

 protected:
  HINSTANCE m_hInstance = nullptr;
};

// The application's title: the executable's file name without its extension.
// Message boxes without a caption of their own carry it.
std::wstring ApplicationTitle();
