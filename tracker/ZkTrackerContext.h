#pragma once
// The tracker's identity and paths, one per tracker.

#include <atomic>
#include <cstdint>
#include <string>

namespace zorvik::tracking {

struct ZkTrackerContext {
  bool loggedIn = false;
  std::string userId;
  std::string distinctId;
  std::string primaryDistinctId;
  int32_t vipLevel = 0;
  std::string logFilePath;
  std::string locale;
  std::string dataDirectory;  // ends in a separator
  std::string identityIniPath;
  std::string lastServerUrl;
  // Records handed to the SDK since its last successful flush; only "above 0" matters.
  std::atomic<int32_t> pendingCount{0};
};

}  // namespace zorvik::tracking
