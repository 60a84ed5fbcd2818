#pragma once
// Private-profile (ini) files: the Windows profile functions, or a small
// reader and writer of the same format on POSIX. Every read uses a 128-byte
// buffer, so values arrive cut to 127 bytes; write failures are ignored.

#include <string>

namespace zorvik::tracking::profile {

inline constexpr size_t kBufferSize = 128;

std::string ReadString(const std::string& path, const std::string& section, const std::string& key);
// Leading decimal digits of the value (with a sign); `fallback` when the key is missing.
int ReadInt(const std::string& path, const std::string& section, const std::string& key, int fallback);
void WriteString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value);
bool FileExists(const std::string& path);

}  // namespace zorvik::tracking::profile
