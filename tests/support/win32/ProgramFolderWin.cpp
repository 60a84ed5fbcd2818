#include <windows.h>

#include "tests/support/TestFiles.h"

namespace TestSupport {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.rfind(L'\\') + 1);
}

}  // namespace TestSupport

namespace TestSupport {

std::filesystem::path FsPath(const std::wstring& path) { return std::filesystem::path(path); }
std::wstring WidePath(const std::filesystem::path& path) { return path.wstring(); }

}  // namespace TestSupport
