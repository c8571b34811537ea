// Moving values between a dialog's controls and its members: to the
// controls when a dialog shows its members, from them when it takes the
// user's input.
#pragma once
#include <windows.h>

#include <string>

#include "ui/window.h"

struct CDataExchange {
  HWND m_hDialog;
  bool m_bSaveAndValidate;  // true: controls to members
};

// Attaches the control to its window the first time (either direction).
void DDX_Control(CDataExchange& exchange, int controlId, CWindow& control);
// The text of an edit control and a string member.
void DDX_Text(CDataExchange& exchange, int controlId, std::wstring& value);
