#pragma once
// One property value: a type tag and the value it names.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zk_analytics::utils {

class ObjectNode;

enum class ValueType : int32_t {
  Number = 0,
  Integer = 1,
  String = 2,
  List = 3,
  DateTime = 4,
  Bool = 5,
  Object = 6,
  None = 7,
};

struct DateTimeValue {
  int64_t seconds = 0;  // since 1970
  int32_t milliseconds = 0;
};

struct ValueNode {
  ValueType type = ValueType::None;
  double number = 0.0;
  int64_t integer = 0;
  std::string text;
  std::vector<std::string> list;
  DateTimeValue dateTime;
  bool boolean = false;
  // Shared, never modified once set: copying a record copies its nested objects cheaply.
  std::shared_ptr<const ObjectNode> object;
};

}  // namespace zk_analytics::utils
