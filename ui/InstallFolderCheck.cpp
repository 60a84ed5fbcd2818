#include "ui/InstallFolderCheck.h"

#include <cwctype>

namespace InstallRun {

namespace {

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

bool IsForbidden(wchar_t c) {
  return c < 0x20 || c == L'<' || c == L'>' || c == L':' || c == L'"' || c == L'|' || c == L'?' ||
         c == L'*';
}

std::wstring Upper(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towupper(c));
  return text;
}

// Windows maps these names to devices whatever their extension ("nul.txt" too).
bool IsReservedName(const std::wstring& name) {
  const std::wstring stem = Upper(name.substr(0, name.find(L'.')));
  if (stem == L"CON" || stem == L"PRN" || stem == L"AUX" || stem == L"NUL") return true;
  if (stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0)) {
    return stem[3] >= L'1' && stem[3] <= L'9';
  }
  return false;
}

}  // namespace

FolderProblem CheckInstallFolder(const std::wstring& folder) {
  if (folder.find_first_not_of(L" \t") == std::wstring::npos) return FolderProblem::kEmpty;
  if (folder.size() >= 2 && IsSeparator(folder[0]) && IsSeparator(folder[1])) {
    return FolderProblem::kNetwork;
  }
  const bool rooted = folder.size() >= 3 && std::iswalpha(folder[0]) && folder[0] < 0x80 &&
                      folder[1] == L':' && IsSeparator(folder[2]);
  if (!rooted) return FolderProblem::kRelative;
  // Each name after the root: no forbidden character, no trailing dot or blank
  // (Windows would drop them and make another folder), no device name.
  size_t start = 3;
  while (start <= folder.size()) {
    size_t end = start;
    while (end < folder.size() && !IsSeparator(folder[end])) ++end;
    const std::wstring name = folder.substr(start, end - start);
    if (!name.empty() && name != L"." && name != L"..") {
      for (const wchar_t c : name) {
        if (IsForbidden(c)) return FolderProblem::kBadCharacters;
      }
      if (name.back() == L'.' || name.back() == L' ') return FolderProblem::kBadCharacters;
      if (IsReservedName(name)) return FolderProblem::kReservedName;
    }
    start = end + 1;
  }
  return FolderProblem::kNone;
}

const wchar_t* FolderProblemText(FolderProblem problem) {
  switch (problem) {
    case FolderProblem::kNone: return L"";
    case FolderProblem::kEmpty: return L"请选择安装路径";
    case FolderProblem::kRelative: return L"请填写完整的安装路径，例如 C:\\Program Files";
    case FolderProblem::kNetwork: return L"不能安装到网络路径，请选择本机磁盘上的文件夹";
    case FolderProblem::kBadCharacters:
      return L"安装路径含有不能使用的字符：< > : \" | ? *\r\n或以点、空格结尾的名称";
    case FolderProblem::kReservedName: return L"安装路径含有系统保留的名称（如 CON、NUL）";
  }
  return L"";
}

}  // namespace InstallRun
