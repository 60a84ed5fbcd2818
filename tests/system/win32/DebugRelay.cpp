// debug-relay.exe PROGRAM [ARGS...]: runs a program as a debuggee and prints
// every string it writes to the debugger output channel on standard output as
// one line, in UTF-8 and at once, then "EXIT <code>". The system tests follow the
// installer's diagnostic lines through it.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/win32/DebugCapture.h"
#include "utils/Encoding.h"

namespace {

// What follows the program name on our own command line, as it stands.
std::wstring ArgumentsAfterProgramName(const wchar_t* line) {
  bool quoted = false;
  while (*line && (quoted || (*line != L' ' && *line != L'\t'))) {
    if (*line == L'"') quoted = !quoted;
    ++line;
  }
  while (*line == L' ' || *line == L'\t') ++line;
  return line;
}

}  // namespace

int main() {
  const std::wstring child = ArgumentsAfterProgramName(GetCommandLineW());
  if (child.empty()) {
    std::fputs("debug-relay.exe PROGRAM [ARGS...]\n", stderr);
    return 2;
  }
  const auto run = TestSupport::RunCapturingDebugOutput(child, 30 * 60 * 1000, [](const std::wstring& line) {
    std::string text = Utils::ToNarrow(line, Utils::kCodePageUtf8);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    // One output line per debug string: breaks inside it are written as \r and \n.
    std::string escaped;
    for (char c : text) {
      if (c == '\r') escaped += "\\r";
      else if (c == '\n') escaped += "\\n";
      else escaped += c;
    }
    std::fprintf(stdout, "%s\n", escaped.c_str());
    std::fflush(stdout);
    return false;
  });
  if (!run.started) {
    std::fprintf(stdout, "NOT STARTED %lu\n", GetLastError());
    return 3;
  }
  std::fprintf(stdout, "EXIT %u\n", run.exitCode);
  std::fflush(stdout);
  return 0;
}
