#pragma once
// Folder helpers for the installer's own files.

#include <string>

namespace Utils {

#ifdef _WIN32
inline constexpr wchar_t kPathSeparator = L'\\';
#else
inline constexpr wchar_t kPathSeparator = L'/';
#endif

inline constexpr wchar_t kTempWorkFolderName[] = L"~ZorvikTemp.92482B06FB471E17";
inline constexpr size_t kMaxPathLength = 260;

// The installer's private folder under the user's temporary folder, ending in a
// separator; created when missing. Empty when it can neither be found nor made.
std::wstring GetTempWorkDir();

// Creates every missing level of `path`; false for a path longer than 260
// characters (nothing is created) or when a level cannot be made.
bool CreateDirectories(const std::wstring& path);

bool PathExists(const std::wstring& path);
bool RemoveFile(const std::wstring& path);  // false when it was not there or stays
bool CopyFileOver(const std::wstring& from, const std::wstring& to);  // replaces `to`
bool MakeDirectory(const std::wstring& path);  // one level; false when it fails

}  // namespace Utils
