#include "analytics/JsonCheck.h"

#include <cstring>

#include "analytics/Utf8.h"

namespace zk_analytics::utils {
namespace {

// Deeper nesting than any record has: a line of brackets must not exhaust the stack.
constexpr int kMaxDepth = 64;

class Checker {
 public:
  explicit Checker(const std::string& text) : p_(text.data()), end_(text.data() + text.size()) {}

  bool Object(int depth) {
    Blanks();
    if (depth > kMaxDepth || !Take('{')) return false;
    Blanks();
    if (Take('}')) return true;
    do {
      Blanks();
      if (!String()) return false;
      Blanks();
      if (!Take(':') || !Value(depth)) return false;
      Blanks();
    } while (Take(','));
    return Take('}');
  }

  bool AtEnd() {
    Blanks();
    return p_ == end_;
  }

 private:
  bool Value(int depth) {
    Blanks();
    if (p_ == end_) return false;
    switch (*p_) {
      case '{': return Object(depth + 1);
      case '[': return Array(depth + 1);
      case '"': return String();
      case 't': return Word("true");
      case 'f': return Word("false");
      case 'n': return Word("null");
      default: return Number();
    }
  }

  bool Array(int depth) {
    if (depth > kMaxDepth || !Take('[')) return false;
    Blanks();
    if (Take(']')) return true;
    do {
      if (!Value(depth)) return false;
      Blanks();
    } while (Take(','));
    return Take(']');
  }

  bool String() {
    if (!Take('"')) return false;
    while (p_ != end_) {
      const auto c = static_cast<unsigned char>(*p_++);
      if (c == '"') return true;
      if (c < 0x20) return false;  // control bytes must be escaped
      if (c != '\\') continue;
      if (p_ == end_) return false;
      const char escape = *p_++;
      if (escape == 'u') {
        for (int i = 0; i < 4; ++i) {
          if (p_ == end_ || *p_ == '\0' || std::strchr("0123456789abcdefABCDEF", *p_) == nullptr) return false;
          ++p_;
        }
      } else if (escape == '\0' || std::strchr("\"\\/bfnrt", escape) == nullptr) {
        return false;
      }
    }
    return false;
  }

  bool Number() {
    Take('-');
    if (!Take('0') && !Digits()) return false;
    if (Take('.') && !Digits()) return false;
    if (Take('e') || Take('E')) {
      if (!Take('+')) Take('-');
      if (!Digits()) return false;
    }
    return true;
  }

  bool Digits() {
    const char* start = p_;
    while (p_ != end_ && *p_ >= '0' && *p_ <= '9') ++p_;
    return p_ != start;
  }

  bool Word(const char* word) {
    const size_t length = std::strlen(word);
    if (static_cast<size_t>(end_ - p_) < length || std::memcmp(p_, word, length) != 0) return false;
    p_ += length;
    return true;
  }

  bool Take(char c) {
    if (p_ == end_ || *p_ != c) return false;
    ++p_;
    return true;
  }

  void Blanks() {
    while (p_ != end_ && (*p_ == ' ' || *p_ == '\t' || *p_ == '\n' || *p_ == '\r')) ++p_;
  }

  const char* p_;
  const char* end_;
};

}  // namespace

bool IsOneJsonObject(const std::string& text) {
  if (!IsValidUtf8(text)) return false;
  Checker checker(text);
  return checker.Object(1) && checker.AtEnd();
}

}  // namespace zk_analytics::utils
