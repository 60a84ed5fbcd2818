#include "utils/win32/SystemDllLoads.h"

#include <windows.h>
#include <delayimp.h>

#include <string>

namespace Utils {
namespace {

FARPROC WINAPI BeforeDelayLoad(unsigned notification, PDelayLoadInfo info) {
  if (notification != dliNotePreLoadLibrary || info == nullptr || info->szDll == nullptr) return nullptr;
  wchar_t system[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  std::wstring path(system, length);
  path += L'\\';
  for (const char* c = info->szDll; *c != '\0'; ++c) path += static_cast<wchar_t>(static_cast<unsigned char>(*c));
  // Null when System32 lacks it: the helper then tries its own load, which
  // start-up has limited to System32 wherever the system offers that.
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  return reinterpret_cast<FARPROC>(module);
}

}  // namespace

void LoadDelayedDllsFromSystem32() { __pfnDliNotifyHook2 = &BeforeDelayLoad; }

}  // namespace Utils
