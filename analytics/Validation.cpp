#include "analytics/Validation.h"

#include <iostream>

namespace zk_analytics {

namespace {

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool CheckId(const std::string& label, const std::string& value) {
  if (value.empty()) {
    std::cerr << "The " << label << " is empty." << std::endl;
    return false;
  }
  if (value.size() > 255) {
    std::cerr << "The " << label << " is too long, max length is 255." << std::endl;
    return false;
  }
  return true;
}

bool CheckName(const std::string& label, const std::string& value) {
  if (value.empty() || value.size() > 100) {
    std::cerr << "The " << label << " is empty or too long, max length is 100";
    return false;
  }
  bool valid = IsAsciiLetter(value[0]) || value[0] == '$' || value[0] == '_';
  for (size_t i = 1; valid && i < value.size(); ++i) {
    const char c = value[i];
    valid = IsAsciiLetter(c) || IsAsciiDigit(c) || c == '$' || c == '_';
  }
  if (!valid) {
    std::cerr << "The " << label << " need to be a valid variable name.";
    return false;
  }
  return true;
}

bool CheckPropertyKeys(const utils::ObjectNode& properties) {
  for (const auto& [name, value] : properties.Items()) {
    if (!CheckName("Property Key", name)) return false;
    if (name == "$time" && value.type != utils::ValueType::DateTime) {
      std::cerr << "The property '$time' should be DateTime type.";
      return false;
    }
    if (name == "$project" && value.type != utils::ValueType::String) {
      std::cerr << "The property '$project' should be String type.";
      return false;
    }
  }
  return true;
}

}  // namespace zk_analytics
