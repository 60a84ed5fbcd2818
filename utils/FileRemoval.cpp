#include "utils/FileRemoval.h"

#include "utils/Folders.h"
#include "utils/RetryPause.h"

namespace Utils {

bool RemoveFileRetrying(const std::wstring& path, int attempts, unsigned pauseMs) {
  for (int attempt = 1;; ++attempt) {
    const RemovalAttempt result = TryRemoveFile(path);
    if (result == RemovalAttempt::kDone) return true;
    if (result == RemovalAttempt::kRefused || attempt >= attempts) return !PathExists(path);
    PauseBetweenAttempts(pauseMs);
  }
}

}  // namespace Utils
