#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "tests/support/ScriptedChild.h"
#include "utils/Encoding.h"
#include "utils/StdioFile.h"

namespace ScriptedChild {
namespace {

std::wstring SidePath(const char* suffix) {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring path = self;
  if (const wchar_t* home = _wgetenv(L"SCRIPTED_CHILD_HOME")) {
    path = std::wstring(home) + L"\\" + path.substr(path.find_last_of(L'\\') + 1);
  }
  return path + Utils::ToWide(suffix, Utils::kCodePageUtf8);
}

// One write, no text-mode translation.
void WriteTo(DWORD stream, const std::string& bytes) {
  DWORD written = 0;
  WriteFile(GetStdHandle(stream), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
            nullptr);
}

}  // namespace

std::string ReadSideFile(const char* suffix) {
  std::string text;
  if (const Utils::UniqueStdioFile file{_wfopen(SidePath(suffix).c_str(), L"rb")}) {
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file.get())) != 0) text.append(buffer, got);
  }
  return text;
}

void WriteSideFile(const char* suffix, const std::string& bytes) {
  if (const Utils::UniqueStdioFile file{_wfopen(SidePath(suffix).c_str(), L"wb")}) {
    fwrite(bytes.data(), 1, bytes.size(), file.get());
  }
}

void WriteOut(const std::string& bytes) { WriteTo(STD_OUTPUT_HANDLE, bytes); }

void WriteErr(const std::string& bytes) { WriteTo(STD_ERROR_HANDLE, bytes); }

std::string CommandLine(int, char**) { return Utils::ToNarrow(GetCommandLineW(), Utils::kCodePageUtf8); }

void SleepMs(int milliseconds) { Sleep(static_cast<DWORD>(milliseconds)); }

}  // namespace ScriptedChild
