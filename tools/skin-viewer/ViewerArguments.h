#pragma once
// skin-viewer.exe FILE.xml [PAGE] [-text=...] [-caption=...] [-progress=N]

#include <optional>
#include <string>
#include <vector>

struct ViewerArguments {
  std::wstring file;
  int page = 0;  // of the main window's "mainTabLt"
  std::optional<std::wstring> text;     // into "textLbl"
  std::optional<std::wstring> caption;  // into "captionLbl"
  std::optional<int> progress;          // into "installPrg"
};

// Null without a file name.
std::optional<ViewerArguments> ParseViewerArguments(const std::vector<std::wstring>& args);
