#include "tests/support/TestFiles.h"
#include "utils/Encoding.h"

namespace TestSupport {

std::filesystem::path FsPath(const std::wstring& path) {
  return std::filesystem::path(Utils::ToNarrow(path, Utils::kCodePageUtf8));
}

std::wstring WidePath(const std::filesystem::path& path) {
  return Utils::ToWide(path.string(), Utils::kCodePageUtf8);
}

std::wstring ProgramFolder() {
  return WidePath(std::filesystem::read_symlink("/proc/self/exe").parent_path()) + L"/";
}

}  // namespace TestSupport
