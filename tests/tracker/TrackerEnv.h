#pragma once
// A tracker environment for one test: its own application name (so its own
// data folder and identity), user data redirected where the platform allows,
// and no SDK instance left over from another test.

#include <string>

#include "tests/support/TestFiles.h"
#include "tracker/ZkTracker.h"

namespace TestSupport {

inline constexpr char kClosedPortUrl[] = "http://127.0.0.1:9/sa?project=pc";

// POSIX: points the per-user data folder at `folder`; Windows keeps its own.
void RedirectUserData(const std::wstring& folder);

class TrackerEnv {
 public:
  TrackerEnv();
  ~TrackerEnv();
  TrackerEnv(const TrackerEnv&) = delete;
  TrackerEnv& operator=(const TrackerEnv&) = delete;

  zorvik::tracking::ZkTrackerConfig Config(const std::string& serverUrl = kClosedPortUrl) const;
  const std::string& AppName() const { return appName_; }
  // <user data>/ZKLocal/<app>/ with the platform's separator.
  std::string DataDirectory() const;

 private:
  ScratchFolder userData_{L"userdata"};
  std::string appName_;
};

}  // namespace TestSupport
