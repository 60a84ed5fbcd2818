#pragma once

#include <cstdio>
#include <string>
#include <vector>

// dlprobe's whole run: the arguments after the program name; the status lines
// go to `out` in UTF-8. 0 after a terminal success, 1 after a terminal
// failure, 2 for a usage error.
int RunProbe(const std::vector<std::wstring>& args, std::FILE* out);
