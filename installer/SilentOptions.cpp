#include "installer/SilentOptions.h"

#include <vector>

#include "utils/CommandLine.h"

namespace {

constexpr wchar_t kFolderSwitch[] = L" /D=";
constexpr wchar_t kQuotedFolderSwitch[] = L" \"/D=";

// Whatever follows the last " /D=" outside quotes: the folder may hold blanks
// and is not quoted by convention. Callers that quote every argument give
// " \"/D=...\"", which means the same.
std::optional<std::wstring> FolderOf(std::wstring& line) {
  bool quoted = false;
  size_t found = std::wstring::npos;
  bool foundQuoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    if (!quoted && line.compare(i, 4, kFolderSwitch) == 0) {
      found = i;
      foundQuoted = false;
    } else if (!quoted && line.compare(i, 5, kQuotedFolderSwitch) == 0) {
      found = i;
      foundQuoted = true;
    }
    if (line[i] == L'"') quoted = !quoted;
  }
  if (found == std::wstring::npos) return std::nullopt;
  std::wstring folder = line.substr(found + (foundQuoted ? 5 : 4));
  while (!folder.empty() && (folder.back() == L' ' || folder.back() == L'\t')) folder.pop_back();
  if (foundQuoted && !folder.empty() && folder.back() == L'"') folder.pop_back();
  line.resize(found);
  return folder;
}

}  // namespace

SilentOptions ParseSilentOptions(const std::wstring& commandLine) {
  std::wstring line = commandLine;
  SilentOptions options;
  options.folder = FolderOf(line);
  const Utils::CommandLineArgs args(line);
  options.silent = args.Has(L"/S");
  options.desktopShortcut = args.GetString(L"-dsc") != L"false";
  options.quickLaunch = args.GetString(L"-ssc") != L"false";
  options.logFile = args.GetString(L"-log");
  return options;
}
