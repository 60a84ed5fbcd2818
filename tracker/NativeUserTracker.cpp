#include "tracker/NativeUserTracker.h"

#include <unordered_map>

#include "analytics/Sdk.h"
#include "tracker/Timestamp.h"
#include "tracker/ZkException.h"

namespace zorvik::tracking {

namespace {

const std::unordered_map<std::string, ProfileClass>& Table() {
  static const std::unordered_map<std::string, ProfileClass> table = [] {
    std::unordered_map<std::string, ProfileClass> t;
    for (const char* name : {"$first_visit_time", "zk_first_visit_date", "$ios_install_source",
                             "zk_first_paid_date"}) {
      t[name] = ProfileClass::SetOnce;
    }
    for (const char* name : {"zk_visit_count", "zk_paid_count", "zk_consumption"}) {
      t[name] = ProfileClass::Increment;
    }
    for (const char* name :
         {"zk_label", "zk_os", "zk_os_version", "zk_manufacturer", "zk_model", "zk_app_store",
          "zk_app_platform", "zk_last_app_id", "zk_last_app_version", "zk_carrier",
          "zk_last_visit_date", "aurora_pushid", "zk_user_id", "zk_user_name", "zk_user_type",
          "zk_user_nickname", "zk_user_portrait", "zk_user_mobilephone", "zk_user_email",
          "zk_user_weixin", "zk_user_qq", "zk_user_did", "zk_user_created", "zk_user_last_login",
          "zk_user_last_ip", "zk_user_vip_level", "zk_user_vip_enddate", "idfa", "imei",
          "android_id", "oaid", "zk_ip", "zk_country_code", "zk_country", "zk_province", "zk_city",
          "zk_last_paid_date"}) {
      t[name] = ProfileClass::Set;
    }
    return t;
  }();
  return table;
}

[[noreturn]] void Refuse(const char* function, const std::string& name, const char* what) {
  ZK_THROW("NativeUserTracker", function, "user property [" + name + "] " + what);
}

template <typename Number>
void ProfileNumber(const std::string& name, Number value) {
  switch (NativeUserTracker::ClassOf(name, "ProfileUserPropertyNumber")) {
    case ProfileClass::SetOnce: zk_analytics::Sdk::ProfileSetOnceNumber(name, value); break;
    case ProfileClass::Increment: {
      zk_analytics::PropertiesNode properties;
      properties.SetNumber(name, value);
      zk_analytics::Sdk::ProfileIncrement(properties);
      break;
    }
    case ProfileClass::Set: zk_analytics::Sdk::ProfileSetNumber(name, value); break;
    case ProfileClass::Append:
      Refuse("ProfileUserPropertyNumber", name, "is number value, it cannot be append to list!");
  }
}

}  // namespace

ProfileClass NativeUserTracker::ClassOf(const std::string& name, const char* function) {
  const auto found = Table().find(name);
  if (found == Table().end()) {
    ZK_THROW("NativeUserTracker", function, "Not supported user property [" + name + "]!");
  }
  return found->second;
}

void NativeUserTracker::ProfileUserPropertyString(const std::string& name, const std::string& value) {
  switch (ClassOf(name, "ProfileUserPropertyString")) {
    case ProfileClass::SetOnce: zk_analytics::Sdk::ProfileSetOnceString(name, value); break;
    case ProfileClass::Increment:
      Refuse("ProfileUserPropertyString", name, "is string type value, it cannot be accumulated!");
    case ProfileClass::Set: zk_analytics::Sdk::ProfileSetString(name, value); break;
    case ProfileClass::Append: zk_analytics::Sdk::ProfileAppend(name, value); break;
  }
}

void NativeUserTracker::ProfileUserPropertyNumber(const std::string& name, int32_t value) {
  ProfileNumber(name, value);
}

void NativeUserTracker::ProfileUserPropertyNumber(const std::string& name, double value) {
  ProfileNumber(name, value);
}

void NativeUserTracker::ProfileUserPropertyDateTime(const std::string& name, int64_t time) {
  const ProfileClass kind = ClassOf(name, "ProfileUserPropertyDateTime");
  if (kind == ProfileClass::Increment) {
    Refuse("ProfileUserPropertyDateTime", name, "is boolean value, it cannot be accumulative!");
  }
  if (kind == ProfileClass::Append) {
    Refuse("ProfileUserPropertyDateTime", name, "is boolean value, it cannot be append to list!");
  }
  const SplitTime split = SplitTimestamp(time);
  zk_analytics::PropertiesNode properties;
  properties.SetDateTime(name, split.seconds, split.milliseconds);
  if (kind == ProfileClass::SetOnce) {
    zk_analytics::Sdk::ProfileSetOnce(properties);
  } else {
    zk_analytics::Sdk::ProfileSet(properties);
  }
}

}  // namespace zorvik::tracking
