#include "tests/fuzz/FuzzDictionary.h"

#include <cctype>
#include <sstream>

#include "utils/Strings.h"

namespace FuzzDictionary {
namespace {

// The token between the line's first and last quote; false when malformed.
bool Token(const std::string& line, std::string& token) {
  const size_t open = line.find('"');
  const size_t close = line.rfind('"');
  if (open == std::string::npos || close == open) return false;
  for (size_t i = 0; i < open; ++i) {
    const auto c = static_cast<unsigned char>(line[i]);
    if (!std::isalnum(c) && c != '_' && c != '=') return false;  // the optional name=
  }
  for (size_t i = close + 1; i < line.size(); ++i) {
    if (!std::isspace(static_cast<unsigned char>(line[i]))) return false;
  }
  token.clear();
  for (size_t i = open + 1; i < close; ++i) {
    if (line[i] != '\\') {
      token += line[i];
      continue;
    }
    if (i + 1 >= close) return false;
    const char next = line[++i];
    if (next == '\\' || next == '"') {
      token += next;
    } else if (next == 'x' && i + 2 < close) {
      const int high = Utils::HexDigitValue(line[i + 1]);
      const int low = Utils::HexDigitValue(line[i + 2]);
      if (high < 0 || low < 0) return false;
      token += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

std::vector<std::string> Parse(const std::string& text, std::string* error) {
  std::vector<std::string> tokens;
  std::istringstream lines(text);
  std::string line;
  for (int number = 1; std::getline(lines, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t first = line.find_first_not_of(" \t");
    if (first == std::string::npos || line[first] == '#') continue;
    std::string token;
    if (!Token(line.substr(first), token)) {
      if (error != nullptr) *error = "line " + std::to_string(number) + " is not a dictionary entry";
      return tokens;
    }
    tokens.push_back(token);
  }
  return tokens;
}

}  // namespace FuzzDictionary
