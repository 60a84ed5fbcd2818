#pragma once
// What the demo product's package and uninstaller share: the argument rules,
// the output protocol writes and the list of what an install created.

#include <string>
#include <vector>

namespace Demo {

inline constexpr wchar_t kManifestName[] = L"uninst.manifest";
inline constexpr wchar_t kProductExe[] = L"Quorvane.exe";
inline constexpr wchar_t kUninstaller[] = L"uninst.ep";
inline constexpr wchar_t kLogName[] = L"install.log";
inline constexpr wchar_t kShortcutName[] = L"Vellisto.lnk";

// The text after `marker` (" /D=", " _?=") to the end of the line: such an
// argument comes last and is never quoted, so it may hold blanks.
std::wstring RestOfLineAfter(const std::wstring& commandLine, const std::wstring& marker);

// One protocol line ("Key=Value") in UTF-8, as one write of its own.
void Say(const std::wstring& line);

std::vector<std::wstring> ReadManifest(const std::wstring& folder);
bool WriteManifest(const std::wstring& folder, const std::vector<std::wstring>& paths);

bool WriteUtf8File(const std::wstring& path, const std::wstring& text);

// The folder part of a path, without its last separator.
std::wstring FolderOf(const std::wstring& path);

}  // namespace Demo
