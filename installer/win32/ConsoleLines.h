#pragma once
// Lines for whoever started the installer: its redirected output when there is
// one (UTF-8), else the console of the process that started it. Started from
// Explorer there is neither, and lines go only to the diagnostic channel.

#include <windows.h>

#include <string>

#include "utils/UniqueHandle.h"

class ConsoleLines {
 public:
  ConsoleLines();
  ~ConsoleLines();
  ConsoleLines(const ConsoleLines&) = delete;
  ConsoleLines& operator=(const ConsoleLines&) = delete;

  void Write(const std::wstring& line);

 private:
  HANDLE redirected_ = nullptr;  // the inherited standard output; not ours to close
  Utils::UniqueOsHandle console_;
  bool attached_ = false;
};
