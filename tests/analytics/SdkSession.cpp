#include "tests/support/Regex.h"  // first: see there

#include "tests/analytics/SdkSession.h"


#include "utils/Encoding.h"

namespace TestSupport {

SdkSession::SdkSession(const std::string& distinctId, bool isLoginId)
    : folder_(L"sdk"), stagingFile_(Utils::ToNarrow(folder_ / L"staged.txt", Utils::kCodePageAnsi)) {
  zk_analytics::Sdk::Shutdown();
  started_ = zk_analytics::Sdk::InitWithSender(
      stagingFile_, "http://unused.invalid/sa?project=pc", distinctId, isLoginId,
      [this](const zk_analytics::SenderConfig&, const std::string& batch) {
        batches.push_back(batch);
        return sendSucceeds;
      });
}

SdkSession::~SdkSession() { zk_analytics::Sdk::Shutdown(); }

std::string Masked(const std::string& record) {
  static const std::regex id("^\\{\"_track_id\":[0-9]+,");
  static const std::regex time(",\"time\":[0-9]+,\"type\":");
  std::string out = std::regex_replace(record, id, "{\"_track_id\":T,");
  return std::regex_replace(out, time, ",\"time\":M,\"type\":");
}

}  // namespace TestSupport
