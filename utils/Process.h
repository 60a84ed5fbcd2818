#pragma once
// Child processes with their standard input and output on pipes. These are
// the only utilities that throw: Utils::Exception when a pipe or the
// process cannot be created, its text naming the system call that failed and
// the error number it gave.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "utils/UniqueHandle.h"

namespace Utils {

class Exception : public std::exception {
 public:
  explicit Exception(std::wstring message);
  // "<doing>: <call> failed (error <number>)".
  static Exception OsCall(const std::wstring& doing, const wchar_t* call, unsigned long error);

  const char* what() const noexcept override { return text_.c_str(); }
  // Whole, whatever the ANSI code page can hold.
  const std::wstring& Message() const noexcept { return message_; }

 private:
  std::wstring message_;
  std::string text_;  // the message in the ANSI code page
};

// What a caught exception says, for a diagnostic line.
std::wstring DescribeException(const std::exception& error);

// Neither end is inheritable: the process start lends the child's end to that
// one child only. A read end made for waiting can be waited on with a limit
// (on Windows it is the overlapped end of a named pipe).
struct Pipe {
  explicit Pipe(bool waitableRead = false);
  UniqueOsHandle read;
  UniqueOsHandle write;
};

class PipedProcess {
 public:
  static constexpr size_t kCommandLineCapacity = 1024;  // UTF-16 units, NUL included

  PipedProcess();  // creates the pipes
  ~PipedProcess();
  PipedProcess(const PipedProcess&) = delete;
  PipedProcess& operator=(const PipedProcess&) = delete;

  // Starts the child hidden, in the folder of its program, which the command
  // line must name by an absolute path (nothing is searched for). The child
  // inherits its pipe ends and nothing else; its standard error goes to the
  // null device, so nothing it writes there can fill a pipe and stop it. The
  // parent's copies of the child's ends are closed, so reading ends once the
  // child (and what it started) has closed its output.
  void Start(const std::wstring& commandLine);

  bool StillActive();
  static constexpr long kNothingYet = -2;
  // Up to `size` bytes of the child's standard output, waiting at most
  // `milliseconds` for them: the count read; 0 at end of output (the child,
  // and what it started, closed it); kNothingYet when nothing came in time;
  // -1 when the read fails.
  long ReadOutputWithin(char* buffer, size_t size, unsigned milliseconds);
  // The same, waiting as long as it takes.
  long ReadOutput(char* buffer, size_t size);
  void Wait();
  // The child's exit code once it has ended.
  bool ExitCode(uint32_t& code);
  uint32_t ProcessId() const;

  void Close();

 private:
  struct Native;

  wchar_t commandLine_[kCommandLineCapacity] = {};
  Pipe stdOut_;
  Pipe stdIn_;
  std::unique_ptr<Native> native_;
};

}  // namespace Utils
