#include "tools/demo-package/DemoCommon.h"

#include <windows.h>

#include <cstdio>
#include <sstream>

#include "utils/Encoding.h"
#include "utils/StdioFile.h"

namespace Demo {

std::wstring RestOfLineAfter(const std::wstring& commandLine, const std::wstring& marker) {
  const size_t at = commandLine.rfind(marker);
  if (at == std::wstring::npos) return {};
  std::wstring rest = commandLine.substr(at + marker.size());
  while (!rest.empty() && (rest.back() == L' ' || rest.back() == L'\t')) rest.pop_back();
  return rest;
}

void Say(const std::wstring& line) {
  const std::string bytes = Utils::ToNarrow(line + L"\n", Utils::kCodePageUtf8);
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()),
            &written, nullptr);
}

bool WriteUtf8File(const std::wstring& path, const std::wstring& text) {
  Utils::UniqueStdioFile file(_wfopen(path.c_str(), L"wb"));
  if (!file) return false;
  const std::string bytes = Utils::ToNarrow(text, Utils::kCodePageUtf8);
  const bool ok = fwrite(bytes.data(), 1, bytes.size(), file.get()) == bytes.size();
  return fclose(file.release()) == 0 && ok;  // what stayed buffered reached the disk too
}

std::vector<std::wstring> ReadManifest(const std::wstring& folder) {
  std::vector<std::wstring> paths;
  const Utils::UniqueStdioFile file(_wfopen((folder + L"\\" + kManifestName).c_str(), L"rb"));
  if (!file) return paths;
  std::string bytes;
  char buffer[4096];
  size_t got;
  while ((got = fread(buffer, 1, sizeof buffer, file.get())) != 0) bytes.append(buffer, got);
  std::wistringstream lines(Utils::ToWide(bytes, Utils::kCodePageUtf8));
  std::wstring line;
  while (std::getline(lines, line)) {
    if (!line.empty()) paths.push_back(line);
  }
  return paths;
}

bool WriteManifest(const std::wstring& folder, const std::vector<std::wstring>& paths) {
  std::wstring text;
  for (const std::wstring& path : paths) text += path + L"\n";
  return WriteUtf8File(folder + L"\\" + kManifestName, text);
}

std::wstring FolderOf(const std::wstring& path) {
  const size_t at = path.find_last_of(L"\\/");
  return at == std::wstring::npos ? std::wstring() : path.substr(0, at);
}

}  // namespace Demo
