#include "ui/explorer1.h"

#include <exdisp.h>
#include <oleauto.h>

#include "ui/control_hosting.h"

void CExplorer1::Navigate(const std::wstring& url) {
  IUnknown* control = HostedControl(m_hWnd);
  if (control == nullptr) return;
  IWebBrowser2* browser = nullptr;
  if (SUCCEEDED(control->QueryInterface(IID_IWebBrowser2, reinterpret_cast<void**>(&browser))) && browser) {
    BSTR address = SysAllocString(url.c_str());
    if (address != nullptr) {
      browser->Navigate(address, nullptr, nullptr, nullptr, nullptr);
      SysFreeString(address);
    }
    browser->Release();
  }
  control->Release();
}
