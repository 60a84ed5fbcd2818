#include <windows.h>
#include <shlwapi.h>

#include "app/InstallerConfig.h"
#include "utils/CommandLine.h"
#include "utils/OsVersion.h"
#include "utils/ProductIdentity.h"

namespace {

class ProfileSection : public ConfigFileSection {
 public:
  explicit ProfileSection(std::wstring path) : path_(std::move(path)) {}

  std::wstring GetString(const std::wstring& key, const std::wstring& fallback) const override {
    wchar_t buffer[MAX_PATH] = {};
    GetPrivateProfileStringW(InstallerConfig::kSection, key.c_str(), fallback.c_str(), buffer,
                             MAX_PATH, path_.c_str());
    return buffer;
  }

  int GetInt(const std::wstring& key, int fallback) const override {
    return static_cast<int>(
        GetPrivateProfileIntW(InstallerConfig::kSection, key.c_str(), fallback, path_.c_str()));
  }

 private:
  std::wstring path_;
};

std::wstring CurrentOsVersionName() {
  std::wstring product, version;
  Utils::GetOSVersionName(product, version);
  return version;
}

}  // namespace

InstallerConfig::InstallerConfig() : osVersionName_(CurrentOsVersionName()) {
  SetDefaults();
  LoadFile();
}

void InstallerConfig::LoadFile() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  wchar_t name[MAX_PATH] = {};
  lstrcpynW(name, path, MAX_PATH);
  PathStripPathW(name);
  ExeFileName = name;

  PathRemoveFileSpecW(path);
  const std::wstring file = std::wstring(path) + L"\\" + kFileName;
  if (PathFileExistsW(file.c_str())) LoadFileSection(ProfileSection(file));

  ProductName = kProductName;
  Version = kProductVersion;
}

void InstallerConfig::ApplyCommandLine() { ApplyOptions(Utils::CommandLineArgs(GetCommandLineW())); }

namespace {
InstallerConfig g_installerConfig;
}  // namespace

InstallerConfig& TheInstallerConfig() { return g_installerConfig; }
