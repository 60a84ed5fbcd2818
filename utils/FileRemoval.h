#pragma once
// Deleting a file that may be held for a moment longer: Windows keeps the file
// of a program that is still ending, and of a handle that does not share
// deletion, such as a scanner's.

#include <string>

namespace Utils {

enum class RemovalAttempt {
  kDone,     // deleted, or not there
  kHeld,     // in use for now: a later attempt may pass
  kRefused,  // for any other reason: no later attempt would pass
};

// One deletion, told apart by why it failed.
RemovalAttempt TryRemoveFile(const std::wstring& path);

// Deletes `path`, tried again after a pause while it is held, `attempts` times
// at most; true when it is gone.
bool RemoveFileRetrying(const std::wstring& path, int attempts, unsigned pauseMs);

}  // namespace Utils
