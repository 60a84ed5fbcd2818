#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include "tools/dlprobe/Probe.h"

// Wide arguments, so paths and URLs outside the ANSI code page arrive whole;
// the output is UTF-8 bytes, untranslated.
int wmain(int argc, wchar_t** argv);
int wmain(int argc, wchar_t** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  std::vector<std::wstring> args(argv + 1, argv + argc);
  return RunProbe(args, stdout);
}
