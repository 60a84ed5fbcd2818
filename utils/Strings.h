#pragma once

#include <string>

namespace Utils {

// Replaces every occurrence, searching again from the start after each one, so
// the replacement must not contain the search text.
std::wstring ReplaceAll(const std::wstring& text, const std::wstring& search,
                        const std::wstring& replacement);

// Whether `url` is a web address (http or https, in any case): nothing else,
// no file path or other scheme, is opened as a page.
bool IsWebUrl(const std::wstring& url);

// The value of one hexadecimal digit in either case; -1 for any other character.
int HexDigitValue(char c);

}  // namespace Utils
