#include "utils/CommandLine.h"

#include <cerrno>
#include <climits>
#include <cwchar>

namespace Utils {

std::vector<std::wstring> SplitCommandLineLikeWindows(const std::wstring& line) {
  std::vector<std::wstring> args;
  size_t i = 0;
  const size_t n = line.size();
  auto isBlank = [](wchar_t c) { return c == L' ' || c == L'\t'; };

  // The program name: quotes group, backslashes are plain characters.
  if (n == 0) return args;
  std::wstring program;
  if (line[0] == L'"') {
    for (i = 1; i < n && line[i] != L'"'; ++i) program += line[i];
    if (i < n) ++i;
  } else {
    for (; i < n && !isBlank(line[i]); ++i) program += line[i];
  }
  args.push_back(program);

  // Every later argument: 2n backslashes before a quote give n and the quote
  // toggles quoting; 2n+1 give n and a literal quote; "" inside quotes is a quote.
  for (;;) {
    while (i < n && isBlank(line[i])) ++i;
    if (i >= n) break;
    std::wstring arg;
    bool quoted = false;
    while (i < n && (quoted || !isBlank(line[i]))) {
      if (line[i] == L'\\') {
        size_t slashes = 0;
        while (i < n && line[i] == L'\\') {
          ++slashes;
          ++i;
        }
        if (i < n && line[i] == L'"') {
          arg.append(slashes / 2, L'\\');
          if (slashes % 2 == 1) {
            arg += L'"';
            ++i;
          }
        } else {
          arg.append(slashes, L'\\');
        }
      } else if (line[i] == L'"') {
        if (quoted && i + 1 < n && line[i + 1] == L'"') {
          arg += L'"';
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        arg += line[i++];
      }
    }
    args.push_back(arg);
  }
  return args;
}

CommandLineArgs::CommandLineArgs(const std::wstring& commandLine)
    : CommandLineArgs(SplitCommandLine(commandLine)) {}

CommandLineArgs::CommandLineArgs(const std::vector<std::wstring>& arguments) {
  for (const std::wstring& arg : arguments) {
    const size_t equals = arg.find(L'=');
    if (!arg.empty() && arg[0] == L'-' && equals != std::wstring::npos) {
      values_.emplace(arg.substr(0, equals), arg.substr(equals + 1));
    } else {
      values_.emplace(arg, std::wstring());
    }
  }
}

bool CommandLineArgs::Has(const std::wstring& key) const { return values_.count(key) != 0; }

std::wstring CommandLineArgs::GetString(const std::wstring& key) const {
  const auto found = values_.find(key);
  return found == values_.end() ? std::wstring() : found->second;
}

int CommandLineArgs::GetInt(const std::wstring& key) const {
  const std::wstring value = GetString(key);
  wchar_t* end = nullptr;
  errno = 0;
  const long number = std::wcstol(value.c_str(), &end, 10);
  if (end == value.c_str() || errno == ERANGE || number < INT_MIN || number > INT_MAX) return 0;
  return static_cast<int>(number);
}

bool CommandLineArgs::GetBool(const std::wstring& key) const { return GetString(key) == L"true"; }

double CommandLineArgs::GetDouble(const std::wstring& key, double fallback) const {
  if (!Has(key)) return fallback;
  const std::wstring value = GetString(key);
  wchar_t* end = nullptr;
  errno = 0;
  const double number = std::wcstod(value.c_str(), &end);
  if (end == value.c_str() || errno == ERANGE) return fallback;
  return number;
}

}  // namespace Utils
