// Ctrl-C during a scan presses the dialog's cancel button.
#pragma once

class CTerminalScanDialog;

// Routes Ctrl-C to dialog->PressCancel() until RemoveInterruptHandler.
void InstallInterruptHandler(CTerminalScanDialog* dialog);
void RemoveInterruptHandler();
