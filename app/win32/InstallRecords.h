#pragma once
// What an installation leaves behind for the product and later installers:
// the per-user registry values, "set.ini" in the install folder and the
// analytics ini's update time; and how an installed copy is found again.

#include <string>

#include "utils/ProductIdentity.h"

struct InstalledCopy {
  std::wstring folder;       // empty: not installed
  std::wstring uninstaller;  // the folder's "\uninst.ep" when none was recorded
};

inline constexpr wchar_t kUninstallerFileName[] = L"\\uninst.ep";

InstalledCopy ReadInstallRecords();

// "InstallPath" = `installFolder`; "UnInstallEp" = `reportedUninstaller` (the
// folder's "\uninst.ep" when empty, and kept as the reported path) when that
// file exists, otherwise the old value stays.
void WriteInstallRecords(const std::wstring& installFolder, std::wstring& reportedUninstaller);

// "set.ini" of `installFolder` (store, product name, a new device id, the
// analytics ini) and the analytics ini's "UpdateTime".
void WriteSettingsIni(const std::wstring& installFolder);

// Installing into the installed copy's own folder whose "set.ini" says
// "IsOverride=false": the old copy stays and no uninstaller runs.
bool KeepsOldCopy(const std::wstring& installedFolder, const std::wstring& folder);

// Both name the same folder (the relative path from one to the other is ".").
bool SameFolder(const std::wstring& from, const std::wstring& to);

// "APPDATA" (else the common documents folder) + "\ZorvikData\Quorvane".
std::wstring GetAnalyticsDataDir();

// The installer's own file name with its extension.
std::wstring OwnExeFileName();
