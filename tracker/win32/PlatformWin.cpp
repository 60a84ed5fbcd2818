#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <memory>

#include "tracker/Platform.h"

namespace zorvik::tracking::platform {

namespace {

struct LibraryFree {
  void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Library = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryFree>;

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

VersionNumbers QueryVersionNumbers() {
  VersionNumbers version;
  const Library ntdll(LoadLibraryA("ntdll.dll"));
  if (!ntdll) return version;
  version.ok = true;
  using Query = void(WINAPI*)(DWORD*, DWORD*, DWORD*);
  if (const auto query = Lookup<Query>(ntdll.get(), "RtlGetNtVersionNumbers")) {
    DWORD major = 0, minor = 0, build = 0;
    query(&major, &minor, &build);
    version.major = major;
    version.minor = minor;
    version.build = build & 0xFFFF;
  }
  return version;
}

bool Is64BitWindows() {
  // A 64-bit process runs on 64-bit Windows only; the WOW64 question below
  // answers it for the 32-bit product.
  if (sizeof(void*) == 8) return true;
  using IsWow64 = BOOL(WINAPI*)(HANDLE, PBOOL);
  if (const auto query = Lookup<IsWow64>(GetModuleHandleA("kernel32"), "IsWow64Process")) {
    BOOL wow64 = FALSE;
    if (query(GetCurrentProcess(), &wow64)) return wow64 != FALSE;
  }
  SYSTEM_INFO info{};
  GetNativeSystemInfo(&info);
  return info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
         info.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64;
}

bool IsServerR2() { return GetSystemMetrics(SM_SERVERR2) != 0; }

ScreenSize QueryScreenSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool QueryUserLocale(std::string& language, std::string& country) {
  char lang[16] = {}, ctry[16] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SISO639LANGNAME, lang, sizeof lang) == 0 ||
      GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SISO3166CTRYNAME, ctry, sizeof ctry) == 0) {
    return false;
  }
  language = lang;
  country = ctry;
  return true;
}

bool CreateGuid(GuidValue& guid) {
  GUID value{};
  if (FAILED(CoCreateGuid(&value))) return false;
  guid.data1 = value.Data1;
  guid.data2 = value.Data2;
  guid.data3 = value.Data3;
  for (int i = 0; i < 8; ++i) guid.data4[i] = value.Data4[i];
  return true;
}

std::string ExecutableFolder() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length < MAX_PATH ? length : 0);
  for (char& c : folder) {
    if (c == '/') c = '\\';
  }
  const size_t slash = folder.rfind('\\');
  folder = slash == std::string::npos ? std::string() : folder.substr(0, slash);
  return folder + "\\";
}

std::string UserDataBaseFolder(const VersionNumbers& version) {
  const bool sevenOrLater = version.major > 6 || (version.major == 6 && version.minor >= 1);
  char folder[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathA(nullptr, sevenOrLater ? CSIDL_LOCAL_APPDATA : CSIDL_COMMON_DOCUMENTS,
                              nullptr, SHGFP_TYPE_CURRENT, folder))) {
    return {};
  }
  char shortPath[260] = {};
  const DWORD length = GetShortPathNameA(folder, shortPath, sizeof shortPath);
  return length > 0 && length < sizeof shortPath ? std::string(shortPath) : std::string(folder);
}

char PathSeparator() { return '\\'; }

}  // namespace zorvik::tracking::platform
