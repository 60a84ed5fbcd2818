#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "utils/Encoding.h"
#include "utils/File.h"
#include "utils/Log.h"

namespace Utils {

File File::Open(const std::wstring& path, Mode mode) {
  // No sharing modes here: a held file is an ordinary read.
  const int flags = mode == Mode::kAppend ? O_WRONLY | O_APPEND | O_CREAT : O_RDONLY;
  const int descriptor = open(ToNarrow(path, kCodePageUtf8).c_str(), flags | O_CLOEXEC, 0644);
  if (descriptor >= 0) return File(UniqueOsHandle(descriptor));
  const int error = errno;
  UTILS_LOG(L"open [%ls] failed (error %d)", path.c_str(), error);
  errno = error;
  return File();
}

int64_t File::Read(void* buffer, size_t size) {
  ssize_t got;
  do {
    got = read(handle_.get(), buffer, size);
  } while (got < 0 && errno == EINTR);
  return got;
}

bool File::Write(const void* data, size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t written = write(handle_.get(), bytes, size);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

int64_t File::Size() const {
  struct stat info {};
  return fstat(handle_.get(), &info) == 0 ? static_cast<int64_t>(info.st_size) : -1;
}

int64_t FileSize(const std::wstring& path) {
  struct stat info {};
  if (stat(ToNarrow(path, kCodePageUtf8).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
  return static_cast<int64_t>(info.st_size);
}

bool MoveFileOver(const std::wstring& from, const std::wstring& to) {
  if (std::rename(ToNarrow(from, kCodePageUtf8).c_str(), ToNarrow(to, kCodePageUtf8).c_str()) == 0) return true;
  const int error = errno;
  UTILS_LOG(L"rename [%ls] to [%ls] failed (error %d)", from.c_str(), to.c_str(), error);
  errno = error;
  return false;
}

}  // namespace Utils
