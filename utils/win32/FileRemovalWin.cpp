#include <windows.h>

#include "utils/FileRemoval.h"

namespace Utils {

RemovalAttempt TryRemoveFile(const std::wstring& path) {
  if (DeleteFileW(path.c_str()) != FALSE) return RemovalAttempt::kDone;
  switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
      return RemovalAttempt::kDone;
    // An open handle that does not share deletion, a program still running
    // from the file (or a file whose deletion is pending), a locked range.
    case ERROR_SHARING_VIOLATION:
    case ERROR_ACCESS_DENIED:
    case ERROR_LOCK_VIOLATION:
      return RemovalAttempt::kHeld;
    default:
      return RemovalAttempt::kRefused;
  }
}

}  // namespace Utils
