#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "tracker/Platform.h"

namespace zorvik::tracking::platform {

// No Windows kernel to ask: the version is unknown ("XP-" by the table).
VersionNumbers QueryVersionNumbers() { return {}; }

bool Is64BitWindows() { return sizeof(void*) == 8; }

bool IsServerR2() { return false; }

ScreenSize QueryScreenSize() { return {}; }

bool QueryUserLocale(std::string& language, std::string& country) {
  const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
  for (const char* name : names) {
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') continue;
    // "de_AT.UTF-8" or "de_AT@euro"
    const std::string text(value);
    const size_t underscore = text.find('_');
    if (underscore == std::string::npos || underscore == 0) return false;
    const size_t end = text.find_first_of(".@", underscore);
    language = text.substr(0, underscore);
    country = text.substr(underscore + 1, end == std::string::npos ? end : end - underscore - 1);
    return !country.empty();
  }
  return false;
}

bool CreateGuid(GuidValue& guid) {
  std::ifstream random("/dev/urandom", std::ios::binary);
  unsigned char bytes[16];
  if (!random.read(reinterpret_cast<char*>(bytes), sizeof bytes)) return false;
  bytes[6] = static_cast<unsigned char>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<unsigned char>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
  guid.data1 = static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
               static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
  guid.data2 = static_cast<uint16_t>(bytes[4] << 8 | bytes[5]);
  guid.data3 = static_cast<uint16_t>(bytes[6] << 8 | bytes[7]);
  for (int i = 0; i < 8; ++i) guid.data4[i] = bytes[8 + i];
  return true;
}

std::string ExecutableFolder() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string("./") : exe.parent_path().string() + "/";
}

std::string UserDataBaseFolder(const VersionNumbers&) {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data != '\0') return data;
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.local/share";
}

char PathSeparator() { return '/'; }

}  // namespace zorvik::tracking::platform
