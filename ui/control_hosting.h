// Hosting of ActiveX controls in dialogs, through the system's atl.dll: after
// EnableControlHosting a dialog template may hold a control of window class
// "AtlAxWin" whose text is the class identifier of the control to create.
#pragma once
#include <windows.h>
#include <unknwn.h>

// Initialises OLE on the calling (user-interface) thread and registers the
// hosting window class. False when hosting is not available.
bool EnableControlHosting();

// The hosted control of a hosting window (AddRef'd), or nullptr.
IUnknown* HostedControl(HWND hostWindow);
