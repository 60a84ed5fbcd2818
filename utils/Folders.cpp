#include "utils/Folders.h"

namespace Utils {

bool CreateDirectories(const std::wstring& path) {
  if (path.size() > kMaxPathLength) return false;
  auto ensure = [](const std::wstring& level) { return PathExists(level) || MakeDirectory(level); };
  size_t next = 0;
  for (size_t at = path.find(kPathSeparator); at != std::wstring::npos;
       at = path.find(kPathSeparator, at + 1)) {
    if (!ensure(path.substr(0, at + 1))) return false;
    next = at + 1;
  }
  if (next < path.size() && !ensure(path)) return false;
  return true;
}

}  // namespace Utils
