// skin-viewer.exe FILE.xml [PAGE]: opens a window description of the packed
// skin and keeps it open until it is closed.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "ViewerArguments.h"
#include "ViewerWindow.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int count = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::wstring> args;
  for (int i = 1; argv && i < count; ++i) args.emplace_back(argv[i]);
  LocalFree(argv);
  const std::optional<ViewerArguments> arguments = ParseViewerArguments(args);
  if (!arguments) {
    MessageBoxW(nullptr, L"skin-viewer.exe FILE.xml [PAGE] [-text=...] [-caption=...] [-progress=N]",
                L"skin-viewer", MB_ICONINFORMATION);
    return 2;
  }
  SkinKit::CWindowShadow::Initialize(instance);
  ViewerWindow window(*arguments);
  const std::wstring title = L"Vellisto " + arguments->file;
  if (!window.Create(nullptr, title.c_str(), WS_OVERLAPPEDWINDOW, 0)) return 3;
  window.CenterWindow();
  window.ShowModal();
  return 0;
}
