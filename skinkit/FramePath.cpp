#include "skinkit/FramePath.h"

#include <cwchar>

namespace SkinKit {

namespace {

constexpr size_t kPathBuffer = 260;

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Skips up to two digits; false when there are more.
bool SkipNumber(const std::wstring& p, size_t& i) {
  size_t digits = 0;
  while (i < p.size() && IsDigit(p[i])) {
    ++i;
    ++digits;
  }
  return digits <= 2;
}

bool HasOneIntegerConversion(const std::wstring& p) {
  int conversions = 0;
  for (size_t i = 0; i < p.size(); ++i) {
    if (p[i] != L'%') continue;
    ++i;
    if (i < p.size() && p[i] == L'%') continue;
    while (i < p.size() && (p[i] == L'-' || p[i] == L'+' || p[i] == L' ' || p[i] == L'0' ||
                            p[i] == L'#'))
      ++i;
    if (!SkipNumber(p, i)) return false;
    if (i < p.size() && p[i] == L'.') {
      ++i;
      if (!SkipNumber(p, i)) return false;
    }
    if (i >= p.size() || (p[i] != L'd' && p[i] != L'i' && p[i] != L'u')) return false;
    ++conversions;
  }
  return conversions == 1;
}

}  // namespace

std::optional<std::wstring> FormatFramePath(const std::wstring& pattern, long frame) {
  if (!HasOneIntegerConversion(pattern)) return std::nullopt;
  wchar_t buffer[kPathBuffer] = {};
  // The conversion was checked above, and the frame number is an int.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
  const int written = std::swprintf(buffer, kPathBuffer, pattern.c_str(), static_cast<int>(frame));
#pragma GCC diagnostic pop
  if (written < 0 || static_cast<size_t>(written) >= kPathBuffer) return std::nullopt;
  return std::wstring(buffer, static_cast<size_t>(written));
}

}  // namespace SkinKit
