#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <new>
#include <string>

#include "utils/Log.h"

namespace Utils {

void DebugLog(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  va_list counting;
  va_copy(counting, args);
  const int length = _vscwprintf(format, counting);
  va_end(counting);
  if (length >= 0) {
    try {
      std::wstring buffer(static_cast<size_t>(length) + 2, L'\0');
      if (_vsnwprintf(buffer.data(), static_cast<size_t>(length) + 1, format, args) >= 0) {
        DebugLogCapture::Deliver(buffer.c_str());
        OutputDebugStringW(buffer.c_str());
      }
    } catch (const std::bad_alloc&) {
      // No memory for the line: nothing is written.
    }
  }
  va_end(args);
}

LogStamp CurrentLogStamp() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {static_cast<int>(GetCurrentProcessId()), static_cast<int>(GetCurrentThreadId()),
          t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

}  // namespace Utils
