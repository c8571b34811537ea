#include "ui/application.h"

#include "ui/message_pump.h"

namespace {

CApplication* g_application = nullptr;

}  // namespace

CApplication::CApplication() { g_application = this; }

CApplication::~CApplication() {
  if (g_application == this) g_application = nullptr;
}

CApplication* CApplication::Current() { return g_application; }

int CApplication::Run(HINSTANCE instance) {
  m_hInstance = instance;
  if (InitInstance()) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchUiMessage(message);
  }
  return ExitInstance();
}

std::wstring ApplicationTitle() {
  wchar_t path[MAX_PATH] = {0};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring name(path, length < MAX_PATH ? length : 0);
  const size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  const size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  CApplication* application = CApplication::Current();
  const int status = application ? application->Run(instance) : 1;
  return status;
}
