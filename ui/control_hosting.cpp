#include "ui/control_hosting.h"

#include <ole2.h>

namespace {

using AtlAxWinInitFunction = BOOL(WINAPI*)();
using AtlAxGetControlFunction = HRESULT(WINAPI*)(HWND, IUnknown**);

HMODULE g_hostingLibrary = nullptr;

template <typename Function>
Function LibraryFunction(const char* name) {
  if (g_hostingLibrary == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(g_hostingLibrary, name)));
}

}  // namespace

bool EnableControlHosting() {
  if (FAILED(OleInitialize(nullptr))) return false;
  g_hostingLibrary = LoadLibraryW(L"atl.dll");
  const AtlAxWinInitFunction init = LibraryFunction<AtlAxWinInitFunction>("AtlAxWinInit");
  return init != nullptr && init();
}

IUnknown* HostedControl(HWND hostWindow) {
  const AtlAxGetControlFunction getControl = LibraryFunction<AtlAxGetControlFunction>("AtlAxGetControl");
  IUnknown* control = nullptr;
  if (hostWindow == nullptr || getControl == nullptr || FAILED(getControl(hostWindow, &control))) return nullptr;
  return control;
}
