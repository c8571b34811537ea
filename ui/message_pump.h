// The user-interface thread's message handling outside the system's own
// loops: the modal runs of the dialogs, and waiting for a thread without
// ever stopping to answer the messages other threads send.
#pragma once
#include <windows.h>

// Hands one message to its window; keyboard messages for a dialog (Tab, Enter,
// Esc) go through the dialog's own handling first, modeless ones included.
void DispatchUiMessage(MSG& message);

// Waits until the object is signalled while dispatching every message that
// arrives. A WM_QUIT met on the way is put back for the outer loop.
void WaitWhileDispatching(HANDLE object);
