#pragma once
// The JSON text forms of the value tree's scalars.

#include <cstdint>
#include <string>

namespace zk_analytics::utils {

// Quoted; '"' and '\' escaped, \b \t \n \f \r named, other control bytes as
// \u00XX, every other byte unchanged.
void AppendQuoted(std::string& out, const std::string& text);
// The standard stream form of a double: six significant digits, exponent form
// for large and small magnitudes (2.5, 100, 1.23457e+06).
std::string NumberText(double value);
// Local time as "YYYY-MM-DD hh:mm:ss.mmm".
std::string LocalDateTimeText(int64_t seconds, int32_t milliseconds);

}  // namespace zk_analytics::utils
