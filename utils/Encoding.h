#pragma once
// Conversions between UTF-16 and narrow code pages, the form-style URL
// encoding, the device identifier's text form and the download digest helpers.
// Failures give empty strings; nothing here throws.

#include <cstdint>
#include <string>

namespace Utils {

inline constexpr unsigned kCodePageAnsi = 0;
inline constexpr unsigned kCodePageUtf8 = 65001;

// Both stop at the first NUL of the input, like the system conversions.
std::wstring ToWide(const std::string& text, unsigned codePage);
std::string ToNarrow(const std::wstring& text, unsigned codePage);

// Printable ASCII other than the blank passes, the blank becomes '+', every
// other byte (NUL included) becomes %XX in upper-case hexadecimal.
std::string UrlEncode(const std::string& bytes);
std::wstring UrlEncodeW(const std::wstring& text);

// 32 hexadecimal digits of a new GUID; the third group is lower case.
std::wstring NewGuidString();
std::wstring FormatGuid(uint32_t data1, uint16_t data2, uint16_t data3, const uint8_t (&data4)[8]);

// Lower-case hexadecimal MD5 of a file; empty when the path is empty or the
// file cannot be read to its end.
std::string FileMD5(const std::wstring& path);

// The path segment just before the URL's last '/', where the download server
// puts the package's digest; empty when there are fewer than two slashes.
std::string UrlDigestSegment(const std::string& url);

}  // namespace Utils
