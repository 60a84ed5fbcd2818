#pragma once
// The checks every call passes before a record is built. Each failure writes
// its message to standard error and gives false.

#include <string>

#include "analytics/ObjectNode.h"

namespace zk_analytics {

// Non-empty and shorter than 256 bytes ("Distinct ID", "Original ID").
bool CheckId(const std::string& label, const std::string& value);
// 1 to 100 bytes: a letter, '$' or '_', then letters, digits, '$' or '_'
// ("Event Name", "Property Key").
bool CheckName(const std::string& label, const std::string& value);
// Every key passes the name rule; "$time" holds a date-time, "$project" a string.
bool CheckPropertyKeys(const utils::ObjectNode& properties);

}  // namespace zk_analytics
