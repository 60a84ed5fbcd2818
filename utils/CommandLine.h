#pragma once
// The map of command-line options: "-key=value" gives "-key" -> "value", every
// other argument a key with an empty value; keys are case-sensitive and the
// first occurrence of a key wins.

#include <map>
#include <string>
#include <vector>

namespace Utils {

// Splits a command line by the system's rules (CommandLineToArgvW on Windows).
std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);
// The same rules, written out, for systems that have no such call.
std::vector<std::wstring> SplitCommandLineLikeWindows(const std::wstring& commandLine);

class CommandLineArgs {
 public:
  explicit CommandLineArgs(const std::wstring& commandLine);
  explicit CommandLineArgs(const std::vector<std::wstring>& arguments);

  bool Has(const std::wstring& key) const;
  std::wstring GetString(const std::wstring& key) const;
  // Leading blanks and a sign allowed; 0 when missing, not a number or beyond 32 bits.
  int GetInt(const std::wstring& key) const;
  // True only for exactly "true".
  bool GetBool(const std::wstring& key) const;
  // `fallback` when missing, not a number or beyond the range of a double.
  double GetDouble(const std::wstring& key, double fallback) const;

  const std::map<std::wstring, std::wstring>& Values() const { return values_; }

 private:
  std::map<std::wstring, std::wstring> values_;
};

}  // namespace Utils
