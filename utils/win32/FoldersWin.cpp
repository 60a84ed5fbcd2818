#include <windows.h>
#include <shlwapi.h>

#include "utils/Folders.h"

namespace Utils {

bool PathExists(const std::wstring& path) { return PathFileExistsW(path.c_str()) != FALSE; }

bool RemoveFile(const std::wstring& path) { return DeleteFileW(path.c_str()) != FALSE; }

bool CopyFileOver(const std::wstring& from, const std::wstring& to) {
  return CopyFileW(from.c_str(), to.c_str(), FALSE) != FALSE;
}

bool MakeDirectory(const std::wstring& path) {
  return CreateDirectoryW(path.c_str(), nullptr) != FALSE;
}

std::wstring GetTempWorkDir() {
  wchar_t temp[MAX_PATH] = {};
  const DWORD length = GetTempPathW(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring folder = std::wstring(temp) + kTempWorkFolderName + L"\\";
  if (PathExists(folder) || MakeDirectory(folder)) return folder;
  return {};
}

}  // namespace Utils
