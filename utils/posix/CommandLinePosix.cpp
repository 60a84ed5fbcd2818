#include "utils/CommandLine.h"

namespace Utils {

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine) {
  return SplitCommandLineLikeWindows(commandLine);
}

}  // namespace Utils
