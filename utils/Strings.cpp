#include "utils/Strings.h"

#include <cwctype>

namespace Utils {

std::wstring ReplaceAll(const std::wstring& text, const std::wstring& search,
                        const std::wstring& replacement) {
  std::wstring result = text;
  if (search.empty()) return result;
  for (size_t at = result.find(search); at != std::wstring::npos; at = result.find(search)) {
    result.replace(at, search.size(), replacement);
  }
  return result;
}

bool IsWebUrl(const std::wstring& url) {
  for (const wchar_t* scheme : {L"http://", L"https://"}) {
    const std::wstring prefix(scheme);
    if (url.size() <= prefix.size()) continue;
    bool same = true;
    for (size_t i = 0; i < prefix.size() && same; ++i) same = static_cast<wchar_t>(std::towlower(url[i])) == prefix[i];
    if (same) return true;
  }
  return false;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace Utils
