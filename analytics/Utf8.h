#pragma once

#include <string>

namespace zk_analytics::utils {

// Text the back-end accepts: tab, line feed, carriage return and printable
// ASCII as single bytes, and well-formed UTF-8 sequences of two to four bytes
// (no overlong forms, no surrogates, nothing above U+10FFFF).
bool IsValidUtf8(const std::string& text);

}  // namespace zk_analytics::utils
