#include "analytics/Record.h"

#include "analytics/Validation.h"

namespace zk_analytics {

int64_t TrackIdFrom(uint32_t r1, uint32_t r2, int64_t nowMs) {
  const int64_t head = static_cast<int64_t>(r1 % 99u);
  const int64_t middle = static_cast<int64_t>(r2 % 999u);
  int64_t tail = nowMs % 10000;
  if (tail < 0) tail += 10000;
  return head * 10000000 + middle * 10000 + tail;
}

bool BuildRecord(const RecordRequest& request, const RecordIdentity& identity, int64_t trackId,
                 int64_t nowMs, utils::ObjectNode& record) {
  static const PropertiesNode kNoProperties;
  const PropertiesNode& given = request.properties != nullptr ? *request.properties : kNoProperties;
  if (!CheckPropertyKeys(given)) return false;
  const bool isTrack = request.type == "track";
  const bool isSignUp = request.type == "track_signup";
  if (isTrack && !CheckName("Event Name", request.eventName)) return false;
  if (isSignUp && !CheckId("Original ID", request.originalId)) return false;

  PropertiesNode merged;
  if ((isTrack || isSignUp) && identity.superProperties != nullptr) merged = *identity.superProperties;
  for (const auto& [name, value] : given.Items()) merged.SetValue(name, value);

  int64_t time = nowMs;
  if (const utils::ValueNode* stamp = merged.Find("$time")) {
    time = stamp->dateTime.seconds * 1000 + stamp->dateTime.milliseconds;
    merged.Remove("$time");
  }
  std::string project;
  if (const utils::ValueNode* named = merged.Find("$project")) {
    project = named->text;
    merged.Remove("$project");
  }
  if (identity.isLoginId) merged.SetBool("$is_login_id", true);

  utils::ObjectNode lib;
  lib.SetString("$lib", kLibName);
  lib.SetString("$lib_method", "code");
  lib.SetString("$lib_version", kLibVersion);

  record.SetInteger("_track_id", trackId);
  record.SetString("distinct_id", request.distinctId);
  if (isTrack || isSignUp) record.SetString("event", request.eventName);
  record.SetObject("lib", lib);
  if (isSignUp) record.SetString("original_id", request.originalId);
  if (!project.empty()) record.SetString("project", project);
  record.SetObjectFrom("properties", std::move(merged));
  record.SetInteger("time", time);
  record.SetString("type", request.type);
  return true;
}

}  // namespace zk_analytics
