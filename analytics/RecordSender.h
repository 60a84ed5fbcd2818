#pragma once
// Uploads one batch (a JSON array of records) in a single POST.

#include <map>
#include <string>

namespace zk_analytics {

struct SenderConfig {
  std::string serverUrl;
  std::string caBundle;  // empty: the system's trust store
};

class RecordSender {
 public:
  static constexpr long kTimeoutSeconds = 3;

  // True exactly when the server answers 200; any other outcome writes
  // "ZorvikAnalytics SDK send failed: " and the reason to standard error.
  static bool Send(const SenderConfig& config, const std::string& batch,
                   const std::map<std::string, std::string>& headers);
};

}  // namespace zk_analytics
