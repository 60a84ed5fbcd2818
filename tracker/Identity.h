#pragma once
// The device's analytics identity, kept per server URL in the tracker's ini.

#include <functional>
#include <string>

#include "tracker/ZkTrackerContext.h"

namespace zorvik::tracking {

inline constexpr char kIdentityFileSuffix[] = "ZKSConfigure.ini";
inline constexpr char kOverrideFileName[] = "Set.ini";

struct IdentityPaths {
  std::string dataDirectory;  // ends in `separator`
  std::string iniPath;
};

// The ini path named by "Set.ini" in `executableFolder` ([Install]
// ZKAnalyticsIni), else <base>/ZKLocal/<appName>/<appName>_ZKSConfigure.ini;
// missing folders are created.
IdentityPaths ResolveIdentityPaths(const std::string& executableFolder, const std::string& appName,
                                   const std::string& baseFolder, char separator);

// <folder><appName>_ZKSConfigure.ini in a folder of the caller's choice (created).
IdentityPaths IdentityPathsIn(const std::string& folder, const std::string& appName, char separator);

using NewId = std::function<std::string()>;

// Loads the ini's "Base" section (a missing ini is normal), then resets the
// identity when it belongs to another server URL.
void LoadIdentity(ZkTrackerContext& context, const std::string& serverUrl, const NewId& newId);
void SaveIdentity(const ZkTrackerContext& context);
void WriteUninstallInfo(const ZkTrackerContext& context, const std::string& appStore,
                        const std::string& appName, const std::string& appVersion);

}  // namespace zorvik::tracking
