#include "skinkit/Values.h"

#include <cwchar>
#include <cwctype>

namespace SkinKit {

namespace {

// Reads up to `count` numbers; stops at the end of the text instead of stepping
// over its terminator when a separator is missing.
void ReadNumbers(const std::wstring& value, long* out, int count) {
  const wchar_t* p = value.c_str();
  const wchar_t* end = p + value.size();
  for (int i = 0; i < count; ++i) {
    if (p >= end) return;
    wchar_t* stop = nullptr;
    out[i] = std::wcstol(p, &stop, 10);
    p = stop + 1;
  }
}

}  // namespace

long ParseInteger(const std::wstring& value) { return std::wcstol(value.c_str(), nullptr, 10); }

Rect ParseRect(const std::wstring& value) {
  long n[4] = {0, 0, 0, 0};
  ReadNumbers(value, n, 4);
  return Rect{static_cast<int>(n[0]), static_cast<int>(n[1]), static_cast<int>(n[2]),
              static_cast<int>(n[3])};
}

Size ParseSize(const std::wstring& value) {
  long n[2] = {0, 0};
  ReadNumbers(value, n, 2);
  return Size{static_cast<int>(n[0]), static_cast<int>(n[1])};
}

uint32_t ParseColor(const std::wstring& value) {
  const wchar_t* p = value.c_str();
  if (*p == L'#') ++p;
  return static_cast<uint32_t>(std::wcstoul(p, nullptr, 16));
}

bool ParseBool(const std::wstring& value) { return value == L"true"; }

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::towlower(static_cast<wint_t>(a[i])) != std::towlower(static_cast<wint_t>(b[i])))
      return false;
  }
  return true;
}

}  // namespace SkinKit
