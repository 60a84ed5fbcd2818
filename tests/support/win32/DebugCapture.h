#pragma once
// Runs a program as a debuggee and collects the lines it writes to the
// debugger output channel, the way a debug-output viewer sees them.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace TestSupport {

struct CapturedRun {
  bool started = false;
  bool timedOut = false;  // the program was ended by the capture
  uint32_t exitCode = 0;
  std::vector<std::wstring> lines;
};

// `enough` (optional) ends the program early once it returns true for a line;
// a program still running after `timeoutMs` is ended too.
CapturedRun RunCapturingDebugOutput(const std::wstring& commandLine, uint32_t timeoutMs,
                                    const std::function<bool(const std::wstring&)>& enough = {});

}  // namespace TestSupport
