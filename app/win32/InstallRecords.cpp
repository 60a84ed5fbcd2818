#include "app/win32/InstallRecords.h"

#include <windows.h>

#include <shlobj.h>
#include <shlwapi.h>

#include <clocale>
#include <cwchar>

#include "utils/Encoding.h"
#include "utils/Folders.h"
#include "utils/win32/Registry.h"

namespace {

constexpr wchar_t kInstallPathValue[] = L"InstallPath";
constexpr wchar_t kUninstallerValue[] = L"UnInstallEp";
constexpr wchar_t kSettingsFile[] = L"\\set.ini";
constexpr wchar_t kAnalyticsIniFile[] = L"\\ZKAnalytics.ini";

std::wstring ReadValue(const wchar_t* name) {
  unsigned long type = 0;
  std::wstring text;
  return Utils::ReadProductRegString(name, type, text) ? text : std::wstring();
}

std::wstring LocalTimeText() {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  wchar_t text[128] = {};
  std::swprintf(text, 128, L"%d-%02d-%02d %02d:%02d:%02d", now.wYear, now.wMonth, now.wDay,
                now.wHour, now.wMinute, now.wSecond);
  return text;
}

}  // namespace

InstalledCopy ReadInstallRecords() {
  InstalledCopy copy;
  copy.folder = ReadValue(kInstallPathValue);
  copy.uninstaller = ReadValue(kUninstallerValue);
  if (copy.uninstaller.empty() && !copy.folder.empty()) copy.uninstaller = copy.folder + kUninstallerFileName;
  return copy;
}

void WriteInstallRecords(const std::wstring& installFolder, std::wstring& reportedUninstaller) {
  Utils::WriteProductRegString(kInstallPathValue, installFolder);
  if (reportedUninstaller.empty()) reportedUninstaller = installFolder + kUninstallerFileName;
  if (Utils::PathExists(reportedUninstaller)) {
    Utils::WriteProductRegString(kUninstallerValue, reportedUninstaller);
  }
}

std::wstring OwnExeFileName() {
  wchar_t module[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::wstring();
  return PathFindFileNameW(module);
}

void WriteSettingsIni(const std::wstring& installFolder) {
  const std::wstring settings = installFolder + kSettingsFile;
  // The product reads these files with the same locale.
  _wsetlocale(LC_ALL, L"en_GB.UTF-8");
  WritePrivateProfileStringW(L"Install", L"APPStore", OwnExeFileName().c_str(), settings.c_str());
  WritePrivateProfileStringW(L"Install", L"AppName", L"Quorvane", settings.c_str());
  WritePrivateProfileStringW(L"Install", L"DeviceID", Utils::NewGuidString().c_str(), settings.c_str());
  const std::wstring dataDir = GetAnalyticsDataDir();
  if (dataDir.empty() || !Utils::CreateDirectories(dataDir)) return;
  const std::wstring analyticsIni = dataDir + kAnalyticsIniFile;
  WritePrivateProfileStringW(L"Install", L"ZKAnalyticsIni", analyticsIni.c_str(), settings.c_str());
  WritePrivateProfileStringW(L"Init", L"UpdateTime", LocalTimeText().c_str(), analyticsIni.c_str());
}

bool SameFolder(const std::wstring& from, const std::wstring& to) {
  if (from.empty() || to.empty()) return false;
  wchar_t relative[MAX_PATH] = {};
  if (!PathRelativePathToW(relative, from.c_str(), FILE_ATTRIBUTE_DIRECTORY, to.c_str(),
                           FILE_ATTRIBUTE_DIRECTORY)) {
    return false;
  }
  // A trailing separator on one side gives ".\"; it names the same folder.
  return std::wcscmp(relative, L".") == 0 || std::wcscmp(relative, L".\\") == 0;
}

bool KeepsOldCopy(const std::wstring& installedFolder, const std::wstring& folder) {
  if (!SameFolder(installedFolder, folder)) return false;
  wchar_t value[20] = {};
  GetPrivateProfileStringW(L"Uninstall", L"IsOverride", L"true", value, 20,
                           (folder + kSettingsFile).c_str());
  return std::wcscmp(value, L"false") == 0;
}

std::wstring GetAnalyticsDataDir() {
  wchar_t base[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(L"APPDATA", base, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    if (!SHGetSpecialFolderPathW(nullptr, base, CSIDL_COMMON_DOCUMENTS, FALSE)) return std::wstring();
  }
  std::wstring folder = base;
  if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
  return folder + L"ZorvikData\\Quorvane";
}
