#include <cstdio>

#include "tools/dlprobe/Probe.h"
#include "utils/Encoding.h"

int main(int argc, char** argv) {
  std::vector<std::wstring> args;
  for (int i = 1; i < argc; ++i) args.push_back(Utils::ToWide(argv[i], Utils::kCodePageUtf8));
  return RunProbe(args, stdout);
}
