#include "analytics/ObjectNode.h"

#include <cmath>
#include <iostream>
#include <utility>

#include "analytics/Json.h"
#include "analytics/Utf8.h"

namespace zk_analytics::utils {

bool ObjectNode::SetNumber(const std::string& name, double value) {
  if (!std::isfinite(value)) {
    std::cerr << "Number property '" << name << "' is not a finite number." << std::endl;
    return false;
  }
  ValueNode node;
  node.type = ValueType::Number;
  node.number = value;
  entries_[name] = std::move(node);
  return true;
}

void ObjectNode::SetNumber(const std::string& name, int32_t value) { SetInteger(name, value); }

void ObjectNode::SetInteger(const std::string& name, int64_t value) {
  ValueNode node;
  node.type = ValueType::Integer;
  node.integer = value;
  entries_[name] = std::move(node);
}

bool ObjectNode::SetString(const std::string& name, const std::string& value) {
  if (value.size() > kMaxStringBytes) {
    std::cerr << "String property '" << name << "' is too long, value: " << value << std::endl;
    return false;
  }
  if (!IsValidUtf8(value)) {
    std::cerr << "String property '" << name << "' is not valid UTF-8 string, value: " << value
              << std::endl;
    return false;
  }
  ValueNode node;
  node.type = ValueType::String;
  node.text = value;
  entries_[name] = std::move(node);
  return true;
}

bool ObjectNode::SetString(const std::string& name, const char* value) {
  return SetString(name, std::string(value != nullptr ? value : ""));
}

bool ObjectNode::SetList(const std::string& name, std::vector<std::string> values) {
  // Each item passes what a string value passes: a bad one would make the
  // collector refuse the whole batch, and every later one behind it.
  for (const std::string& value : values) {
    if (value.size() > kMaxStringBytes || !IsValidUtf8(value)) {
      std::cerr << "List property '" << name << "' holds an item that is too long or not valid UTF-8" << std::endl;
      return false;
    }
  }
  ValueNode node;
  node.type = ValueType::List;
  node.list = std::move(values);
  entries_[name] = std::move(node);
  return true;
}

void ObjectNode::SetBool(const std::string& name, bool value) {
  ValueNode node;
  node.type = ValueType::Bool;
  node.boolean = value;
  entries_[name] = std::move(node);
}

void ObjectNode::SetDateTime(const std::string& name, int64_t seconds, int32_t milliseconds) {
  ValueNode node;
  node.type = ValueType::DateTime;
  node.dateTime = {seconds, milliseconds};
  entries_[name] = std::move(node);
}

void ObjectNode::SetObject(const std::string& name, const ObjectNode& value) {
  ValueNode node;
  node.type = ValueType::Object;
  node.object = std::make_shared<const ObjectNode>(value);
  entries_[name] = std::move(node);
}

void ObjectNode::SetObjectFrom(const std::string& name, ObjectNode&& value) {
  ValueNode node;
  node.type = ValueType::Object;
  node.object = std::make_shared<const ObjectNode>(std::move(value));
  entries_[name] = std::move(node);
}

void ObjectNode::SetValue(const std::string& name, const ValueNode& value) { entries_[name] = value; }

const ValueNode* ObjectNode::Find(const std::string& name) const {
  const auto found = entries_.find(name);
  return found == entries_.end() ? nullptr : &found->second;
}

void ObjectNode::Remove(const std::string& name) { entries_.erase(name); }

namespace {

void AppendValue(std::string& out, const ValueNode& value) {
  switch (value.type) {
    case ValueType::Number: out += NumberText(value.number); break;
    case ValueType::Integer: out += std::to_string(value.integer); break;
    case ValueType::String: AppendQuoted(out, value.text); break;
    case ValueType::List: {
      out += '[';
      for (size_t i = 0; i < value.list.size(); ++i) {
        if (i != 0) out += ',';
        AppendQuoted(out, value.list[i]);
      }
      out += ']';
      break;
    }
    case ValueType::DateTime:
      out += '"';
      out += LocalDateTimeText(value.dateTime.seconds, value.dateTime.milliseconds);
      out += '"';
      break;
    case ValueType::Bool: out += value.boolean ? "true" : "false"; break;
    case ValueType::Object:
      if (value.object) {
        value.object->AppendJson(out);
      } else {
        out += "{}";
      }
      break;
    case ValueType::None: out += "null"; break;
  }
}

}  // namespace

void ObjectNode::AppendJson(std::string& out) const {
  out += '{';
  bool first = true;
  for (const auto& [name, value] : entries_) {
    if (!first) out += ',';
    first = false;
    AppendQuoted(out, name);
    out += ':';
    AppendValue(out, value);
  }
  out += '}';
}

std::string ObjectNode::ToJson() const {
  std::string out;
  AppendJson(out);
  return out;
}

}  // namespace zk_analytics::utils

namespace zk_analytics {

void PropertiesNode::SetObject(const std::string&, const utils::ObjectNode&) {}

}  // namespace zk_analytics
