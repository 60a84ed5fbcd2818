#pragma once
// Diagnostic lines: one fixed prefix (process, thread, local time, function,
// source line) followed by the statement's message, handed to the system's
// debugger output channel, and to a log file once one is named. Always on; no
// levels.

#include <mutex>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace Utils {

// `%ls` rather than `%s`: it names a wide string under every C runtime we build
// with, so the same format serves the Windows and the native builds.
inline constexpr wchar_t kLogPrefixFormat[] =
    L"<P%05d><T%05d><%04d-%02d-%02d %02d:%02d:%02d.%03d>(%ls)<%04d>: ";

// Formats the whole line (prefix and message are one format) and hands it to the
// debugger output channel. Never fails visibly.
void DebugLog(const wchar_t* format, ...);

// From now on every line also goes to `path`, appended as UTF-8 in the order
// the debugger channel gets them; the file is opened once, shared for reading,
// and written line by line. A path that cannot be opened (or names a link, which
// could lead an elevated writer elsewhere) gets one diagnostic line and false.
// An empty path ends the copy and closes the file.
bool AppendLogTo(const std::wstring& path);

struct LogStamp {
  int processId;
  int threadId;
  int year, month, day, hour, minute, second, millisecond;
};
LogStamp CurrentLogStamp();

// "void Utils::Thread::CallBack(Utils::Thread*)" -> "Utils::Thread::CallBack":
// the qualified name the way a debug-output reader expects it.
std::string_view QualifiedFunctionName(std::string_view prettyFunction);

enum class LogForm { Line, Raw };

// The statement's full format: prefix, message and, in the line form, CR LF.
std::wstring JoinLogFormat(LogForm form, const wchar_t* message);
std::wstring WideFunctionName(const char* prettyFunction);

namespace detail {
template <typename T>
inline constexpr bool kLoggable =
    std::is_arithmetic_v<T> || std::is_enum_v<T> || std::is_pointer_v<T>;
}  // namespace detail

template <typename... Args>
void LogStatement(LogForm form, const char* prettyFunction, int line, const wchar_t* message,
                  Args... args) noexcept {
  static_assert((detail::kLoggable<Args> && ...),
                "log arguments go through a C format: pass numbers and C strings only");
  try {
    const std::wstring format = JoinLogFormat(form, message);
    const std::wstring function = WideFunctionName(prettyFunction);
    const LogStamp s = CurrentLogStamp();
    DebugLog(format.c_str(), s.processId, s.threadId, s.year, s.month, s.day, s.hour, s.minute,
             s.second, s.millisecond, function.c_str(), line, args...);
  } catch (...) {
    // Out of memory while logging: the line is lost, the caller carries on.
  }
}

// Test seam: while a capture lives, every diagnostic line is also kept in it.
class DebugLogCapture {
 public:
  DebugLogCapture();
  ~DebugLogCapture();
  DebugLogCapture(const DebugLogCapture&) = delete;
  DebugLogCapture& operator=(const DebugLogCapture&) = delete;

  std::vector<std::wstring> Lines() const;
  // Lines whose message part (after the prefix) contains `text`.
  std::vector<std::wstring> LinesContaining(std::wstring_view text) const;

  static void Deliver(const wchar_t* line);

 private:
  mutable std::mutex mutex_;
  std::vector<std::wstring> lines_;
};

}  // namespace Utils

#define UTILS_LOG(...) \
  ::Utils::LogStatement(::Utils::LogForm::Line, __PRETTY_FUNCTION__, __LINE__, __VA_ARGS__)
#define UTILS_LOG_RAW(...) \
  ::Utils::LogStatement(::Utils::LogForm::Raw, __PRETTY_FUNCTION__, __LINE__, __VA_ARGS__)
