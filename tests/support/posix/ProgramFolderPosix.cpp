#include <fstream>

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

bool MakeSparseFile(const std::wstring& path, long long size) {
  std::error_code error;
  { std::ofstream create(FsPath(path), std::ios::binary | std::ios::trunc); }
  std::filesystem::resize_file(FsPath(path), static_cast<std::uintmax_t>(size), error);
  return !error;
}

}  // namespace TestSupport
