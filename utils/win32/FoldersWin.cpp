#include <windows.h>
#include <shlwapi.h>

#include "utils/Folders.h"
#include "utils/Log.h"
#include "utils/win32/KeptLastError.h"

namespace Utils {

bool PathExists(const std::wstring& path) { return PathFileExistsW(path.c_str()) != FALSE; }

bool RemoveFile(const std::wstring& path) { return DeleteFileW(path.c_str()) != FALSE; }

bool CopyFileOver(const std::wstring& from, const std::wstring& to) {
  if (CopyFileW(from.c_str(), to.c_str(), FALSE)) return true;
  const KeptLastError error;
  UTILS_LOG(L"CopyFileW [%ls] to [%ls] failed (error %lu)", from.c_str(), to.c_str(), error.value());
  return false;
}

bool MakeDirectory(const std::wstring& path) {
  if (CreateDirectoryW(path.c_str(), nullptr)) return true;
  const KeptLastError error;
  UTILS_LOG(L"CreateDirectoryW [%ls] failed (error %lu)", path.c_str(), error.value());
  return false;
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
