#pragma once
// How this platform names the system calls whose failures the diagnostic
// lines and exceptions report, and the error numbers tests provoke.

#include <string>

namespace TestSupport {

#ifdef _WIN32
inline constexpr wchar_t kMakeFolderCall[] = L"CreateDirectoryW";
inline constexpr wchar_t kCopyFileCall[] = L"CopyFileW";
inline constexpr wchar_t kStartCall[] = L"CreateProcessW";
inline constexpr unsigned long kErrorNoSuchFile = 2;     // ERROR_FILE_NOT_FOUND
inline constexpr unsigned long kErrorNoSuchFolder = 3;   // ERROR_PATH_NOT_FOUND
inline constexpr unsigned long kErrorNotAProgram = 193;  // ERROR_BAD_EXE_FORMAT
#else
inline constexpr wchar_t kMakeFolderCall[] = L"mkdir";
inline constexpr wchar_t kCopyFileCall[] = L"copy_file";
inline constexpr wchar_t kStartCall[] = L"posix_spawn";
inline constexpr unsigned long kErrorNoSuchFile = 2;    // ENOENT
inline constexpr unsigned long kErrorNoSuchFolder = 2;  // ENOENT
inline constexpr unsigned long kErrorNotAProgram = 13;  // EACCES: not executable
#endif

// " failed (error N)", as every such report ends.
inline std::wstring FailedWith(unsigned long error) {
  return L" failed (error " + std::to_wstring(error) + L")";
}

}  // namespace TestSupport
