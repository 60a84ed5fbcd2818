#include <windows.h>
#include <shellapi.h>

#include "utils/CommandLine.h"

namespace Utils {

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine) {
  std::vector<std::wstring> args;
  int count = 0;
  LPWSTR* list = CommandLineToArgvW(commandLine.c_str(), &count);
  if (list == nullptr) return args;
  for (int i = 0; i < count; ++i) args.emplace_back(list[i]);
  LocalFree(list);
  return args;
}

}  // namespace Utils
