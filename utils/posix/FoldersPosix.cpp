#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

#include "utils/Encoding.h"
#include "utils/Folders.h"
#include "utils/Log.h"

namespace Utils {

bool PathExists(const std::wstring& path) {
  struct stat info {};
  return stat(ToNarrow(path, kCodePageUtf8).c_str(), &info) == 0;
}

bool RemoveFile(const std::wstring& path) {
  return unlink(ToNarrow(path, kCodePageUtf8).c_str()) == 0;
}

bool CopyFileOver(const std::wstring& from, const std::wstring& to) {
  std::error_code error;
  if (std::filesystem::copy_file(ToNarrow(from, kCodePageUtf8), ToNarrow(to, kCodePageUtf8),
                                 std::filesystem::copy_options::overwrite_existing, error)) {
    return true;
  }
  UTILS_LOG(L"copy_file [%ls] to [%ls] failed (error %d)", from.c_str(), to.c_str(), error.value());
  return false;
}

bool MakeDirectory(const std::wstring& path) {
  if (mkdir(ToNarrow(path, kCodePageUtf8).c_str(), 0700) == 0) return true;
  const int error = errno;
  UTILS_LOG(L"mkdir [%ls] failed (error %d)", path.c_str(), error);
  errno = error;
  return false;
}

std::wstring GetTempWorkDir() {
  const char* temp = std::getenv("TMPDIR");
  std::wstring folder = ToWide(temp != nullptr && *temp != '\0' ? temp : "/tmp", kCodePageUtf8);
  if (folder.back() != kPathSeparator) folder += kPathSeparator;
  folder += kTempWorkFolderName;
  folder += kPathSeparator;
  if (PathExists(folder) || MakeDirectory(folder)) return folder;
  return {};
}

}  // namespace Utils
