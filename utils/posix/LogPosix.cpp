#include <sys/syscall.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <cwchar>
#include <new>
#include <string>

#include "utils/Encoding.h"
#include "utils/Log.h"

namespace Utils {

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
    DebugLogCapture::Deliver(buffer.c_str());
    const std::string text = ToNarrow(buffer, 65001);
    std::fwrite(text.data(), 1, text.size(), stderr);
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
