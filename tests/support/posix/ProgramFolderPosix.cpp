#include <filesystem>

#include "tests/support/TestFiles.h"

namespace TestSupport {

std::wstring ProgramFolder() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path().wstring() + L"/";
}

}  // namespace TestSupport
