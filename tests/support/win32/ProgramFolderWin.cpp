#include <windows.h>
#include <winioctl.h>

#include "tests/support/TestFiles.h"
#include "utils/UniqueHandle.h"

namespace TestSupport {

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path);
  return folder.substr(0, folder.rfind(L'\\') + 1);
}

bool MakeSparseFile(const std::wstring& path, long long size) {
  const Utils::UniqueOsHandle file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  DWORD returned = 0;
  DeviceIoControl(file.get(), FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
  LARGE_INTEGER end{};
  end.QuadPart = size;
  return SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && SetEndOfFile(file.get());
}

}  // namespace TestSupport

namespace TestSupport {

std::filesystem::path FsPath(const std::wstring& path) { return std::filesystem::path(path); }
std::wstring WidePath(const std::filesystem::path& path) { return path.wstring(); }

}  // namespace TestSupport
