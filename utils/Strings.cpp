#include "utils/Strings.h"

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

}  // namespace Utils
