// A dialog made from a dialog template, run modally (DoModal) or modeless
// (Create). Messages reach the dialog object through OnMessage; the common
// commands have their own virtual handlers.
#pragma once
#include <windows.h>

#include "ui/data_exchange.h"

class CDialog {
 public:
  CDialog(UINT templateId, HWND parent);
  virtual ~CDialog();
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // Runs the dialog until EndDialog and returns EndDialog's result (-1 when
  // the window could not be created). The parent is disabled meanwhile.
  INT_PTR DoModal();
  // Creates the modeless window; shown when its template says so or by ShowWindow.
  bool Create(UINT templateId, HWND parent);

  HWND GetSafeHwnd() const { return m_hWnd; }
  HWND GetDlgItem(int controlId) const { return ::GetDlgItem(m_hWnd, controlId); }
  void ShowWindow(int command) const { ::ShowWindow(m_hWnd, command); }
  // true: controls to members; false: members to controls.
  void UpdateData(bool saveAndValidate);
  // A modal run ends; a modeless dialog only hides.
  void EndDialog(INT_PTR result);

 protected:
  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  virtual void DoDataExchange(CDataExchange& exchange);
  // Returns true when the message was handled; *result is what the dialog
  // procedure returns for it.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR* result);

  HWND m_hWnd = nullptr;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  UINT m_templateId;
  HWND m_hParent;
  bool m_bModal = false;
  bool m_bModalEnded = false;
  INT_PTR m_nModalResult = 0;
};

// The module whose resources the dialogs are made from.
HINSTANCE ResourceModule();
