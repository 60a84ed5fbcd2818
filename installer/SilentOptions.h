#pragma once
// The unattended install's options on the command line:
//   /S              install without a window
//   -dsc=, -ssc=    desktop shortcut, quick-launch entry ("false" turns one off)
//   /D=FOLDER       last on the line; the folder is the rest of it, blanks and all
//   -log=FILE       also write every diagnostic line to FILE (with or without /S)

#include <optional>
#include <string>

struct SilentOptions {
  bool silent = false;
  std::optional<std::wstring> folder;
  bool desktopShortcut = true;
  bool quickLaunch = true;
  std::wstring logFile;
};

// `commandLine` is the whole line, program name first.
SilentOptions ParseSilentOptions(const std::wstring& commandLine);
