#include "tracker/Identity.h"

#include "tracker/ProfileFile.h"
#include "utils/Encoding.h"
#include "utils/Folders.h"

namespace zorvik::tracking {

namespace {

void CreateFolder(const std::string& path) {
  Utils::CreateDirectories(Utils::ToWide(path, Utils::kCodePageAnsi));
}

}  // namespace

IdentityPaths ResolveIdentityPaths(const std::string& executableFolder, const std::string& appName,
                                   const std::string& baseFolder, char separator) {
  std::string configured;
  const std::string overrideFile = executableFolder + kOverrideFileName;
  if (profile::FileExists(overrideFile)) {
    configured = profile::ReadString(overrideFile, "Install", "ZKAnalyticsIni");
    if (separator == '\\') {
      for (char& c : configured) {
        if (c == '/') c = '\\';
      }
    }
  }
  const size_t last = configured.rfind(separator);
  if (!configured.empty() && last != std::string::npos) {
    IdentityPaths paths{configured.substr(0, last) + separator, configured};
    CreateFolder(paths.dataDirectory);
    return paths;
  }
  std::string folder = baseFolder + separator + "ZKLocal" + separator;
  CreateFolder(folder);
  folder += appName + separator;
  CreateFolder(folder);
  return {folder, folder + appName + "_" + kIdentityFileSuffix};
}

IdentityPaths IdentityPathsIn(const std::string& folder, const std::string& appName, char separator) {
  std::string directory = folder;
  if (directory.empty() || directory.back() != separator) directory += separator;
  CreateFolder(directory);
  return {directory, directory + appName + "_" + kIdentityFileSuffix};
}

void LoadIdentity(ZkTrackerContext& context, const std::string& serverUrl, const NewId& newId) {
  context.userId.clear();
  context.distinctId.clear();
  context.primaryDistinctId.clear();
  context.loggedIn = false;
  context.lastServerUrl.clear();
  const std::string& ini = context.identityIniPath;
  if (profile::FileExists(ini)) {
    context.distinctId = profile::ReadString(ini, "Base", "DistinctId");
    context.primaryDistinctId = profile::ReadString(ini, "Base", "PrimaryDistinctId");
    if (context.primaryDistinctId.empty()) context.primaryDistinctId = context.distinctId;
    context.userId = profile::ReadString(ini, "Base", "UserId");
    context.vipLevel = profile::ReadInt(ini, "Base", "UserVipLevel", 0);
    context.loggedIn = profile::ReadString(ini, "Base", "isLogined") == "OK";
    context.lastServerUrl = profile::ReadString(ini, "Base", "URL");
  }
  if (context.distinctId.empty()) {
    context.distinctId = newId();
    SaveIdentity(context);
  }
  if (context.lastServerUrl != serverUrl || context.distinctId.empty()) {
    context.userId.clear();
    context.loggedIn = false;
    if (context.primaryDistinctId.empty()) {
      context.distinctId = newId();
      context.primaryDistinctId = context.distinctId;
    } else {
      context.distinctId = context.primaryDistinctId;
    }
    context.lastServerUrl = serverUrl;
    SaveIdentity(context);
  }
}

void SaveIdentity(const ZkTrackerContext& context) {
  const std::string& ini = context.identityIniPath;
  if (ini.empty()) return;
  profile::WriteString(ini, "Base", "DistinctId", context.distinctId);
  profile::WriteString(ini, "Base", "PrimaryDistinctId", context.primaryDistinctId);
  profile::WriteString(ini, "Base", "UserId", context.userId);
  profile::WriteString(ini, "Base", "UserVipLevel", std::to_string(context.vipLevel));
  profile::WriteString(ini, "Base", "URL", context.lastServerUrl);
  profile::WriteString(ini, "Base", "isLogined", context.loggedIn ? "OK" : "NG");
}

void WriteUninstallInfo(const ZkTrackerContext& context, const std::string& appStore,
                        const std::string& appName, const std::string& appVersion) {
  const std::string& ini = context.identityIniPath;
  if (ini.empty()) return;
  profile::WriteString(ini, "UninstallInfo", "AppStore", appStore);
  profile::WriteString(ini, "UninstallInfo", "AppName", appName);
  profile::WriteString(ini, "UninstallInfo", "AppVersion", appVersion);
}

}  // namespace zorvik::tracking
