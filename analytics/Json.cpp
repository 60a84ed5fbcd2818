#include "analytics/Json.h"

#include <cstdio>
#include <locale>
#include <sstream>

#include "analytics/Clock.h"

namespace zk_analytics::utils {

void AppendQuoted(std::string& out, const std::string& text) {
  out += '"';
  for (const char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\b': out += "\\b"; break;
      case '\t': out += "\\t"; break;
      case '\n': out += "\\n"; break;
      case '\f': out += "\\f"; break;
      case '\r': out += "\\r"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          // Any other control byte as \u00XX: a raw one makes the record no JSON.
          static constexpr char kHex[] = "0123456789abcdef";
          out += "\\u00";
          out += kHex[(c >> 4) & 0xF];
          out += kHex[c & 0xF];
        } else {
          out += c;
        }
        break;
    }
  }
  out += '"';
}

std::string NumberText(double value) {
  // The classic locale: a user locale with a decimal comma must not reach the record.
  std::ostringstream stream;
  stream.imbue(std::locale::classic());
  stream << value;
  return stream.str();
}

std::string LocalDateTimeText(int64_t seconds, int32_t milliseconds) {
  const std::tm t = LocalTime(seconds);
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d.%03d", t.tm_year + 1900,
                t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, milliseconds);
  return buffer;
}

}  // namespace zk_analytics::utils
