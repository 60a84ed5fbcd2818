#include "tests/tracker/TrackerEnv.h"

#include <atomic>

#include "analytics/Sdk.h"
#include "tracker/Platform.h"
#include "utils/Encoding.h"
#include "utils/Log.h"

namespace TestSupport {

TrackerEnv::TrackerEnv() {
  static std::atomic<int> counter{0};
  appName_ = "QvTest" + std::to_string(Utils::CurrentLogStamp().processId) + "x" +
             std::to_string(counter++) + ".downloader";
  RedirectUserData(userData_.Path());
  zk_analytics::Sdk::Shutdown();
}

TrackerEnv::~TrackerEnv() {
  zorvik::tracking::releaseZkTracker();
  zk_analytics::Sdk::Shutdown();
  RemoveTree(Utils::ToWide(DataDirectory(), Utils::kCodePageAnsi));
}

zorvik::tracking::ZkTrackerConfig TrackerEnv::Config(const std::string& serverUrl) const {
  zorvik::tracking::ZkTrackerConfig config;
  config.appName = appName_;
  config.appVersion = "1.7.9";
  config.appStore = "QuorvaneInstaller.exe";
  config.dlAppId = "Quorvane";
  config.serverUrl = serverUrl;
  return config;
}

std::string TrackerEnv::DataDirectory() const {
  namespace platform = zorvik::tracking::platform;
  const char sep = platform::PathSeparator();
  return platform::UserDataBaseFolder(platform::QueryVersionNumbers()) + sep + "ZKLocal" + sep +
         appName_ + sep;
}

}  // namespace TestSupport
