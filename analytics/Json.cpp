#include "analytics/Json.h"

#include <cstdio>
#include <locale>
#include <sstream>

#include "analytics/Clock.h"

namespace zk_analytics::utils {

namespace {

bool NeedsEscape(char c) { return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20; }

void AppendEscaped(std::string& out, char c) {
  switch (c) {
    case '"': out += "\\\""; break;
    case '\\': out += "\\\\"; break;
    case '\b': out += "\\b"; break;
    case '\t': out += "\\t"; break;
    case '\n': out += "\\n"; break;
    case '\f': out += "\\f"; break;
    case '\r': out += "\\r"; break;
    default: {
      // Any other control byte as \u00XX: a raw one makes the record no JSON.
      static constexpr char kHex[] = "0123456789abcdef";
      out += "\\u00";
      out += kHex[(c >> 4) & 0xF];
      out += kHex[c & 0xF];
      break;
    }
  }
}

}  // namespace

void AppendQuoted(std::string& out, const std::string& text) {
  out += '"';
  // Runs of bytes that need no escape go in whole.
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (!NeedsEscape(text[i])) continue;
    out.append(text, start, i - start);
    AppendEscaped(out, text[i]);
    start = i + 1;
  }
  out.append(text, start, std::string::npos);
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
