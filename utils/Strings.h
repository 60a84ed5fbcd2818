#pragma once

#include <string>

namespace Utils {

// Replaces every occurrence, searching again from the start after each one, so
// the replacement must not contain the search text.
std::wstring ReplaceAll(const std::wstring& text, const std::wstring& search,
                        const std::wstring& replacement);

}  // namespace Utils
