#include <windows.h>

#include "utils/OsVersion.h"

namespace Utils {

void GetOSVersionName(std::wstring& productName, std::wstring& versionName) {
  productName = L"Windows";
  HMODULE ntdll = LoadLibraryW(L"ntdll.dll");
  if (ntdll == nullptr) {
    versionName = L"XP-";
    return;
  }
  using VersionNumbers = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
  DWORD major = 0, minor = 0, build = 0;
  const auto query = reinterpret_cast<VersionNumbers>(
      reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetNtVersionNumbers")));
  if (query != nullptr) query(&major, &minor, &build);
  FreeLibrary(ntdll);
  versionName = OSVersionNameFor(major, minor, build & 0xFFFF, GetSystemMetrics(SM_SERVERR2) != 0);
}

}  // namespace Utils
