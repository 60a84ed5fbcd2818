#pragma once
// The value tree events are built in: an ordered map from property name to
// value, written as compact JSON in byte-wise name order.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "analytics/ValueNode.h"

namespace zk_analytics::utils {

class ObjectNode {
 public:
  using Entries = std::map<std::string, ValueNode>;

  ObjectNode() = default;
  virtual ~ObjectNode() = default;
  ObjectNode(const ObjectNode&) = default;
  ObjectNode& operator=(const ObjectNode&) = default;
  ObjectNode(ObjectNode&&) = default;
  ObjectNode& operator=(ObjectNode&&) = default;

  // Every setter replaces an earlier value of the same name. A number that is
  // not finite is refused (JSON has no form for it) with a message on standard error.
  bool SetNumber(const std::string& name, double value);
  void SetNumber(const std::string& name, int32_t value);
  void SetInteger(const std::string& name, int64_t value);
  // Refuses texts over 8192 bytes and texts that are not valid UTF-8, with a
  // message on standard error; the property is then not set.
  bool SetString(const std::string& name, const std::string& value);
  bool SetString(const std::string& name, const char* value);
  // Refuses, like SetString, an item over 8192 bytes or not valid UTF-8.
  bool SetList(const std::string& name, std::vector<std::string> values);
  void SetBool(const std::string& name, bool value);
  void SetDateTime(const std::string& name, int64_t seconds, int32_t milliseconds);
  virtual void SetObject(const std::string& name, const ObjectNode& value);
  // The same for a tree the caller no longer needs: it is moved, not copied.
  void SetObjectFrom(const std::string& name, ObjectNode&& value);
  // Copies a value as it is (no checks): for merging trees that were checked when built.
  void SetValue(const std::string& name, const ValueNode& value);

  const ValueNode* Find(const std::string& name) const;
  void Remove(const std::string& name);
  const Entries& Items() const { return entries_; }
  bool Empty() const { return entries_.empty(); }

  std::string ToJson() const;
  void AppendJson(std::string& out) const;

 private:
  Entries entries_;
};

inline constexpr size_t kMaxStringBytes = 8192;

}  // namespace zk_analytics::utils

namespace zk_analytics {

// Event properties: flat, so nested objects are ignored.
class PropertiesNode : public utils::ObjectNode {
 public:
  void SetObject(const std::string& name, const utils::ObjectNode& value) override;
};

}  // namespace zk_analytics
