#include <sys/random.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "utils/Encoding.h"
#include "utils/Log.h"
#include "utils/ProtectedFolder.h"

namespace Utils {

std::wstring ProtectedFolderRoot() {
  const char* temp = std::getenv("TMPDIR");
  return ToWide(temp != nullptr && *temp != '\0' ? temp : "/tmp", kCodePageUtf8);
}

namespace detail {

bool RandomBytes(void* buffer, size_t size) {
  const ssize_t got = getrandom(buffer, size, 0);
  if (got == static_cast<ssize_t>(size)) return true;
  UTILS_LOG(L"getrandom failed (error %d)", got < 0 ? errno : 0);
  return false;
}

MadeFolder MakeFolderForAdministrators(const std::wstring& path) {
  if (mkdir(ToNarrow(path, kCodePageUtf8).c_str(), 0700) == 0) return MadeFolder::kMade;
  const int error = errno;
  if (error == EEXIST) return MadeFolder::kExists;
  UTILS_LOG(L"mkdir [%ls] failed (error %d)", path.c_str(), error);
  return MadeFolder::kFailed;
}

bool RemoveFolderTree(const std::wstring& path) {
  std::error_code error;
  std::filesystem::remove_all(ToNarrow(path, kCodePageUtf8), error);  // links are not followed
  if (!error) return true;
  UTILS_LOG(L"remove_all [%ls] failed (error %d)", path.c_str(), error.value());
  return false;
}

}  // namespace detail
}  // namespace Utils
