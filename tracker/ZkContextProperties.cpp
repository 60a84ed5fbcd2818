#include "tracker/ZkContextProperties.h"

#include "tracker/Timestamp.h"
#include "tracker/ZkException.h"

namespace zorvik::tracking {

namespace {

bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

size_t CheckedIndex(ZkEventType type, const char* function) {
  const auto index = static_cast<int32_t>(type);
  if (index < 0 || index >= kZkEventTypeCount) {
    ZK_THROW("ZkContextProperties", function, "ZkEvent[" + std::to_string(index) + "] overflow!");
  }
  return static_cast<size_t>(index);
}

}  // namespace

ZkContextProperties::ZkContextProperties() : values_(8) { values_.max_load_factor(1.0f); }

bool ZkContextProperties::isValidABValue(const std::string& value) {
  if (value.empty()) return false;
  if (value.size() > 3) ZK_THROW("ZkContextProperties", "isValidABValue", "value's length is great than 3.");
  if (!IsUpper(value[0])) ZK_THROW("ZkContextProperties", "isValidABValue", "First char is not in A to Z");
  if (value.size() > 1 && !IsUpper(value[1]) && !IsDigit(value[1])) {
    ZK_THROW("ZkContextProperties", "isValidABValue", "second char is not in A to Z and 0 to 9");
  }
  if (value.size() > 2 && !IsUpper(value[2]) && !IsDigit(value[2])) {
    ZK_THROW("ZkContextProperties", "isValidABValue", "third char is not in A to Z and 0 to 9");
  }
  return true;
}

void ZkContextProperties::Add(const std::vector<ZkEventType>& types, const std::string& name, ContextKind kind,
                              std::shared_ptr<ContextValue> value, const char* function) {
  if (!values_.emplace(name, value).second) {
    ZK_THROW("ZkContextProperties", function, "Property[" + name + "] already exist!");
  }
  for (const ZkEventType type : types) {
    byType_[CheckedIndex(type, function)].push_back({value.get(), kind, name});
  }
}

void ZkContextProperties::setProperty(const std::vector<ZkEventType>& types, const std::string& value) {
  auto shared = std::make_shared<ContextValue>();
  shared->text = value;
  Add(types, kAbName, ContextKind::String, std::move(shared), "setProperty");
}

void ZkContextProperties::setFlag(const std::vector<ZkEventType>& types, const std::string& name, bool value) {
  auto shared = std::make_shared<ContextValue>();
  shared->boolean = value;
  Add(types, name, ContextKind::Bool, std::move(shared), "setFlag");
}

const std::vector<ContextEntry>& ZkContextProperties::getEventProperties(ZkEventType type) const {
  return byType_[CheckedIndex(type, "getEventProperties")];
}

bool ZkContextProperties::attachTo(ZkEventType type, zk_analytics::PropertiesNode& properties) const {
  const auto& entries = getEventProperties(type);
  for (const ContextEntry& entry : entries) {
    const ContextValue& value = *entry.value;
    switch (entry.kind) {
      case ContextKind::Bool: properties.SetBool(entry.name, value.boolean); break;
      case ContextKind::DateTime: properties.SetString(entry.name, LocalTimeText(value.time)); break;
      case ContextKind::Number: properties.SetNumber(entry.name, value.number); break;
      case ContextKind::String: properties.SetString(entry.name, value.text); break;
      case ContextKind::StringList: properties.SetList(entry.name, value.list); break;
    }
  }
  return !entries.empty();
}

}  // namespace zorvik::tracking
