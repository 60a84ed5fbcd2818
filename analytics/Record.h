#pragma once
// Turns one call into the record the back-end receives.

#include <cstdint>
#include <string>

#include "analytics/ObjectNode.h"

namespace zk_analytics {

inline constexpr char kLibName[] = "cpp";
inline constexpr char kLibVersion[] = "0.9";

struct RecordRequest {
  std::string type;  // "track", "track_signup", "profile_set", ...
  std::string eventName;
  const PropertiesNode* properties = nullptr;
  std::string distinctId;
  std::string originalId;
};

struct RecordIdentity {
  const PropertiesNode* superProperties = nullptr;
  bool isLoginId = false;
};

// The digits of r1 % 99 (two), r2 % 999 (three) and nowMs (last four), joined.
int64_t TrackIdFrom(uint32_t r1, uint32_t r2, int64_t nowMs);

// Checks the request and fills `record`; false (message on standard error) when
// a check fails, and then nothing is to be queued.
bool BuildRecord(const RecordRequest& request, const RecordIdentity& identity, int64_t trackId,
                 int64_t nowMs, utils::ObjectNode& record);

}  // namespace zk_analytics
