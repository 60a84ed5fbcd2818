#include "package/CommandLines.h"

namespace {
const wchar_t* TrueFalse(bool value) { return value ? L"true" : L"false"; }
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
    line += L" -instdir=\"" + options.installFolder + L"\"";
    line += L" /D=" + options.installFolder;
  }
  return line;
}
