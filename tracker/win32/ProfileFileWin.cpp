#include <windows.h>

#include "tracker/ProfileFile.h"

namespace zorvik::tracking::profile {

std::string ReadString(const std::string& path, const std::string& section, const std::string& key) {
  char buffer[kBufferSize] = {};
  GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, kBufferSize, path.c_str());
  return buffer;
}

int ReadInt(const std::string& path, const std::string& section, const std::string& key, int fallback) {
  return static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(), fallback, path.c_str()));
}

void WriteString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value) {
  WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str());
}

bool FileExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

}  // namespace zorvik::tracking::profile
