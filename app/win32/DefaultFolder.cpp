#include "app/win32/DefaultFolder.h"

#include <windows.h>

#include <shlobj.h>

#include "utils/ProductIdentity.h"
#include "utils/Folders.h"
#include "utils/win32/SystemQueries.h"

namespace {

std::wstring SpecialFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  return SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE) ? std::wstring(path) : std::wstring();
}

}  // namespace

std::wstring JoinPath(const std::wstring& base, const std::wstring& name) {
  if (base.empty() || base.back() == L'\\' || base.back() == L'/') return base + name;
  return base + L'\\' + name;
}

DefaultFolder ChooseDefaultFolder(const InstalledCopy& copy) {
  DefaultFolder chosen;
  std::wstring consoleUser;
  chosen.consoleUserIsAdmin = Utils::GetConsoleUserName(consoleUser) && Utils::IsAdminAccount(consoleUser);
  chosen.installerIsAdmin = Utils::IsCurrentUserAdmin();
  if (!copy.folder.empty() && Utils::PathExists(copy.uninstaller)) {
    chosen.folder = copy.folder;
    return chosen;
  }
  std::wstring base;
  wchar_t appData[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH);
  if (chosen.consoleUserIsAdmin && chosen.installerIsAdmin && length > 0 && length < MAX_PATH) {
    base = JoinPath(appData, L"tarnwick");
  } else {
    base = SpecialFolder(CSIDL_PROGRAM_FILESX86);
    if (base.empty()) base = SpecialFolder(CSIDL_PROGRAM_FILES);
  }
  chosen.folder = JoinPath(base, kProductFolderName);
  return chosen;
}
