#pragma once
// Per-call context properties: values the caller attaches to chosen event
// types only (in this installer the A/B group "zkc_ab" on Click, View, Task).

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "analytics/ObjectNode.h"
#include "tracker/ZkTypes.h"

namespace zorvik::tracking {

enum class ContextKind : int32_t { Bool = 0, DateTime = 1, Number = 2, String = 3, StringList = 4 };

struct ContextValue {
  bool boolean = false;
  int64_t time = 0;  // milliseconds (or seconds, see the timestamp rule) since 1970 UTC
  double number = 0;
  std::string text;
  std::vector<std::string> list;
};

struct ContextEntry {
  const ContextValue* value;  // owned by the map
  ContextKind kind;
  std::string name;
};

class ZkContextProperties {
 public:
  static constexpr char kAbName[] = "zkc_ab";

  ZkContextProperties();
  ZkContextProperties(const ZkContextProperties&) = delete;
  ZkContextProperties& operator=(const ZkContextProperties&) = delete;

  // False for an empty value (nothing is to be set); true when valid; throws
  // the first rule the value breaks.
  static bool isValidABValue(const std::string& value);
  // Adds "zkc_ab" for each listed event type; a second call throws.
  void setProperty(const std::vector<ZkEventType>& types, const std::string& value);
  // Adds the yes-or-no property `name` for each listed event type; a name
  // already set throws.
  void setFlag(const std::vector<ZkEventType>& types, const std::string& name, bool value);
  const std::vector<ContextEntry>& getEventProperties(ZkEventType type) const;

  // Sets every entry of `type` in `properties` (over earlier values); whether there was any.
  bool attachTo(ZkEventType type, zk_analytics::PropertiesNode& properties) const;

 private:
  void Add(const std::vector<ZkEventType>& types, const std::string& name, ContextKind kind,
           std::shared_ptr<ContextValue> value, const char* function);

  std::unordered_map<std::string, std::shared_ptr<ContextValue>> values_;
  std::array<std::vector<ContextEntry>, kZkEventTypeCount> byType_;
};

}  // namespace zorvik::tracking
