#pragma once
// Child processes with their standard streams on anonymous pipes. These are the
// only utilities that throw: Utils::Exception when a pipe or the process cannot
// be created.

#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "utils/UniqueHandle.h"

namespace Utils {

class Exception : public std::exception {
 public:
  explicit Exception(const std::wstring& message);
  const char* what() const noexcept override { return text_.c_str(); }

 private:
  std::string text_;  // the message in the ANSI code page
};

// Both ends are inheritable when created; the process start takes the
// parent's end out of inheritance.
struct Pipe {
  Pipe();
  UniqueOsHandle read;
  UniqueOsHandle write;
};

class PipedProcess {
 public:
  static constexpr size_t kCommandLineCapacity = 1024;  // UTF-16 units, NUL included

  PipedProcess();  // creates the three pipes
  ~PipedProcess();
  PipedProcess(const PipedProcess&) = delete;
  PipedProcess& operator=(const PipedProcess&) = delete;

  // Starts the child hidden with its streams on the pipes; the parent's copies
  // of the child's ends are closed, so reading ends once the child (and what it
  // started) has closed its output.
  void Start(const std::wstring& commandLine);

  bool StillActive();
  // Up to `size` bytes of the child's standard output; blocks until the child
  // writes or closes it. 0 at end of output, -1 when the read fails.
  long ReadOutput(char* buffer, size_t size);
  // Bytes waiting in the output pipe, without blocking.
  size_t OutputAvailable();
  void Wait();
  // The child's exit code once it has ended.
  bool ExitCode(uint32_t& code);
  uint32_t ProcessId() const;

  void Close();

 private:
  struct Native;

  wchar_t commandLine_[kCommandLineCapacity] = {};
  Pipe stdErr_;
  Pipe stdOut_;
  Pipe stdIn_;
  std::unique_ptr<Native> native_;
};

}  // namespace Utils
