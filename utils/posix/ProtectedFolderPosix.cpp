#include <sys/random.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "utils/Encoding.h"
#include "utils/ProtectedFolder.h"

namespace Utils {

std::wstring ProtectedFolderRoot() {
  const char* temp = std::getenv("TMPDIR");
  return ToWide(temp != nullptr && *temp != '\0' ? temp : "/tmp", kCodePageUtf8);
}

namespace detail {

bool RandomBytes(void* buffer, size_t size) {
  return getrandom(buffer, size, 0) == static_cast<ssize_t>(size);
}

MadeFolder MakeFolderForAdministrators(const std::wstring& path) {
  if (mkdir(ToNarrow(path, kCodePageUtf8).c_str(), 0700) == 0) return MadeFolder::kMade;
  return errno == EEXIST ? MadeFolder::kExists : MadeFolder::kFailed;
}

bool RemoveFolderTree(const std::wstring& path) {
  std::error_code error;
  std::filesystem::remove_all(ToNarrow(path, kCodePageUtf8), error);  // links are not followed
  return !error;
}

}  // namespace detail
}  // namespace Utils
