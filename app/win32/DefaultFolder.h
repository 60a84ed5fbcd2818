#pragma once
// The folder an install goes to unless the user chooses another.

#include <string>

#include "app/win32/InstallRecords.h"

struct DefaultFolder {
  std::wstring folder;
  bool consoleUserIsAdmin = false;
  bool installerIsAdmin = false;
};

// The installed copy's folder while its uninstaller is there; else
// "%APPDATA%\tarnwick" when the console's user and this process are both
// administrators, else the (32-bit) program files folder; then "\Quorvane".
DefaultFolder ChooseDefaultFolder(const InstalledCopy& copy);

// `base` followed by a backslash (unless it ends in one) and `name`.
std::wstring JoinPath(const std::wstring& base, const std::wstring& name);
