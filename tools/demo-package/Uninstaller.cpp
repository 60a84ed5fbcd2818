// uninst.ep: removes what the demo package installed, as listed in the
// folder's manifest. Run as a copy from elsewhere with "_?=<folder>", it can
// remove the folder's own uninstaller too.
#include <windows.h>

#include <string>

#include "tools/demo-package/DemoCommon.h"

namespace {

std::wstring OwnFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return Demo::FolderOf(path);
}

int Uninstall() {
  std::wstring folder = Demo::RestOfLineAfter(GetCommandLineW(), L" _?=");
  if (folder.empty()) folder = OwnFolder();
  while (folder.size() > 3 && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  Demo::Say(L"Encode=UTF8");
  Sleep(50);  // the encoding applies from the next read on

  const auto paths = Demo::ReadManifest(folder);
  if (paths.empty()) {
    Demo::Say(L"Error=no installation recorded in " + folder);
    return 1;
  }
  Demo::Say(L"Progress=10");
  size_t done = 0;
  for (const std::wstring& path : paths) {
    if (!DeleteFileW(path.c_str()) && GetLastError() != ERROR_FILE_NOT_FOUND) {
      // In use (the product still running, or this very program): gone at the next restart.
      MoveFileExW(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
    Demo::Say(L"Progress=" + std::to_wstring(10 + 80 * ++done / paths.size()));
  }
  DeleteFileW((folder + L"\\" + Demo::kManifestName).c_str());
  RemoveDirectoryW(folder.c_str());  // only when nothing else was left in it
  Demo::Say(L"Progress=100");
  Demo::Say(L"State=Success");
  return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return Uninstall(); }
