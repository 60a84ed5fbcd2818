#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <new>
#include <string>

#include "utils/Log.h"
#include "utils/UniqueHandle.h"

namespace Utils {

namespace {

// One lock for both outputs, so the file holds the channel's lines in its order.
struct LogOutputs {
  std::mutex mutex;
  UniqueOsHandle file;
};

LogOutputs& Outputs() {
  static LogOutputs outputs;
  return outputs;
}

void WriteUtf8(HANDLE file, const std::wstring& line) {
  const int wide = static_cast<int>(line.size());
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, line.data(), wide, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return;
  std::string text(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.data(), wide, text.data(), bytes, nullptr, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

}  // namespace

bool AppendLogTo(const std::wstring& path) {
  if (path.empty()) {
    std::lock_guard<std::mutex> lock(Outputs().mutex);
    Outputs().file.reset();
    return true;
  }
  UniqueOsHandle file(CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  DWORD error = file ? ERROR_SUCCESS : GetLastError();
  BY_HANDLE_FILE_INFORMATION info = {};
  if (file && GetFileInformationByHandle(file.get(), &info) &&
      ((info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || info.nNumberOfLinks > 1)) {
    file.reset();
    error = ERROR_CANT_ACCESS_FILE;
  }
  if (!file) {
    UTILS_LOG(L"the log file [%ls] cannot be written (error %lu); lines go to the debugger only", path.c_str(),
              static_cast<unsigned long>(error));
    return false;
  }
  std::lock_guard<std::mutex> lock(Outputs().mutex);
  Outputs().file = std::move(file);
  return true;
}

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
        buffer.resize(static_cast<size_t>(length));
        LogOutputs& outputs = Outputs();
        std::lock_guard<std::mutex> lock(outputs.mutex);
        DebugLogCapture::Deliver(buffer.c_str());
        OutputDebugStringW(buffer.c_str());
        if (outputs.file) WriteUtf8(outputs.file.get(), buffer);
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
