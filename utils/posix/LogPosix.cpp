#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <cwchar>
#include <mutex>
#include <new>
#include <string>

#include "utils/Encoding.h"
#include "utils/Log.h"
#include "utils/UniqueHandle.h"

namespace Utils {

namespace {

struct LogOutputs {
  std::mutex mutex;
  UniqueOsHandle file;
};

LogOutputs& Outputs() {
  static LogOutputs outputs;
  return outputs;
}

}  // namespace

bool AppendLogTo(const std::wstring& path) {
  if (path.empty()) {
    std::lock_guard<std::mutex> lock(Outputs().mutex);
    Outputs().file.reset();
    return true;
  }
  const std::string name = ToNarrow(path, 65001);
  UniqueOsHandle file(open(name.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644));
  int error = file ? 0 : errno;
  struct stat info {};
  if (file && fstat(file.get(), &info) == 0 && (!S_ISREG(info.st_mode) || info.st_nlink > 1)) {
    file.reset();
    error = EPERM;
  }
  if (!file) {
    UTILS_LOG(L"the log file [%ls] cannot be written (errno %d); lines go to the debugger only", path.c_str(),
              error);
    return false;
  }
  std::lock_guard<std::mutex> lock(Outputs().mutex);
  Outputs().file = std::move(file);
  return true;
}

void DebugLog(const wchar_t* format, ...) {
  // vswprintf cannot count, so grow the buffer until the line fits.
  try {
    std::wstring buffer(256, L'\0');
    for (;;) {
      va_list args;
      va_start(args, format);
      const int written = std::vswprintf(buffer.data(), buffer.size(), format, args);
      va_end(args);
      if (written >= 0) {
        buffer.resize(static_cast<size_t>(written));
        break;
      }
      if (buffer.size() > (1u << 24)) return;  // a format the C library cannot render
      buffer.resize(buffer.size() * 2);
    }
    const std::string text = ToNarrow(buffer, 65001);
    LogOutputs& outputs = Outputs();
    std::lock_guard<std::mutex> lock(outputs.mutex);
    DebugLogCapture::Deliver(buffer.c_str());
    std::fwrite(text.data(), 1, text.size(), stderr);
    if (outputs.file && write(outputs.file.get(), text.data(), text.size()) < 0) {
      // A full disk loses the file's line; the channel has it.
    }
  } catch (const std::bad_alloc&) {
    // No memory for the line: nothing is written.
  }
}

LogStamp CurrentLogStamp() {
  timeval now{};
  gettimeofday(&now, nullptr);
  tm local{};
  localtime_r(&now.tv_sec, &local);
  return {static_cast<int>(getpid()), static_cast<int>(syscall(SYS_gettid)),
          local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
          local.tm_sec, static_cast<int>(now.tv_usec / 1000)};
}

}  // namespace Utils
