#pragma once
// The argument lines the installer gives its two children.

#include <string>

#include "package/AccountFacts.h"

// The copy's path is quoted (it lies in the user's temporary folder, which
// often has blanks); "_?=" and the old folder stay last and unquoted.
std::wstring UninstallCommandLine(const std::wstring& uninstaller, const AccountFacts& facts,
                                  const std::wstring& oldFolder);

struct PackageRunOptions {
  std::wstring installFolder;  // may be empty: the package picks its own
  bool desktopShortcut = true;
  bool quickLaunch = true;
  bool consoleUserIsAdmin = true;
  bool installerIsAdmin = true;
  std::wstring instCmd;  // extra options, passed on unchanged
};

// `packageCommand` is the package path already enclosed in double quotes.
std::wstring PackageCommandLine(const std::wstring& packageCommand, const PackageRunOptions& options);
