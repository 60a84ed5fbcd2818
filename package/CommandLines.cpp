#include "package/CommandLines.h"

namespace {

const wchar_t* TrueFalse(bool value) { return value ? L"true" : L"false"; }

// `text` in double quotes, read back unchanged by the C runtime's argument
// rules: backslashes count only before a quote, so those before a quote of
// the text, or before the closing quote, are doubled, and a quote of the text
// is escaped. A folder such as "C:\Apps\" would otherwise end in a literal
// quote and take the rest of the line with it.
std::wstring Quoted(const std::wstring& text) {
  std::wstring out = L"\"";
  size_t backslashes = 0;
  for (const wchar_t c : text) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, L'\\');
  return out + L"\"";
}

}  // namespace

std::wstring UninstallCommandLine(const std::wstring& uninstaller, const AccountFacts& facts,
                                  const std::wstring& oldFolder) {
  return L"\"" + uninstaller + L"\" /S -adminact=" + TrueFalse(facts.consoleUserIsAdmin) +
         L" -authorizationact=" + TrueFalse(facts.installerIsAdmin) + L" -console=show _?=" +
         oldFolder;
}

std::wstring PackageCommandLine(const std::wstring& packageCommand,
                                const PackageRunOptions& options) {
  std::wstring line = packageCommand + L" /S -console=show -version=1.0.0";
  line += std::wstring(L" -adminact=") + TrueFalse(options.consoleUserIsAdmin);
  line += std::wstring(L" -authorizationact=") + TrueFalse(options.installerIsAdmin);
  line += std::wstring(L" -dsc=") + TrueFalse(options.desktopShortcut);
  line += std::wstring(L" -ssc=") + TrueFalse(options.quickLaunch);
  if (!options.instCmd.empty()) line += L" " + options.instCmd;
  if (!options.installFolder.empty()) {
    line += L" -instdir=" + Quoted(options.installFolder);
    line += L" /D=" + options.installFolder;
  }
  return line;
}
