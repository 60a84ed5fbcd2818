#include <unistd.h>

#include <cerrno>

#include "utils/Encoding.h"
#include "utils/FileRemoval.h"

namespace Utils {

RemovalAttempt TryRemoveFile(const std::wstring& path) {
  if (unlink(ToNarrow(path, kCodePageUtf8).c_str()) == 0) return RemovalAttempt::kDone;
  switch (errno) {
    case ENOENT:
    case ENOTDIR:
      return RemovalAttempt::kDone;
    case EBUSY:
    case ETXTBSY:
    case EINTR:
      return RemovalAttempt::kHeld;
    default:
      return RemovalAttempt::kRefused;
  }
}

}  // namespace Utils
