#pragma once
// The line protocol children print on their standard output: Key=Value lines,
// decoded with the code page the child announces, turned into status codes.

#include <string>

#include "download/StatusCodes.h"

enum class ChildKind { Uninstaller, Package };

class OutputInterpreter {
 public:
  static constexpr int kNoOutcome = 0;
  static constexpr int kSuccessLine = 1;
  static constexpr int kFailureLine = 1000;
  static constexpr size_t kMaxTextLength = 771;

  OutputInterpreter(ChildKind kind, StatusCallback callback);

  // Sends the codes of the chunk's lines as it meets them; returns whether a
  // line decided the outcome (the last such line wins).
  int Interpret(const std::wstring& chunk);

  // How the child's next bytes are decoded (0 until an Encode= line).
  unsigned CodePage() const { return codePage_; }

 private:
  int InterpretUninstallerLine(const std::wstring& line);
  int InterpretPackageLine(const std::wstring& line);
  void Send(int code, double value, const std::wstring& text = std::wstring()) const;

  ChildKind kind_;
  StatusCallback callback_;
  unsigned codePage_ = 0;
};

// Value helpers with the scan formats' meaning; exposed for the fuzz target.
namespace protocol {
double ScanNumber(const std::wstring& value);    // "%lf": 0 when no number
int ScanInt(const std::wstring& value);          // "%d": 0 when no number
std::wstring ScanText(const std::wstring& value);  // "%[^\n]": at most 771 units
std::wstring Trim(const std::wstring& value);    // white space at both ends
}  // namespace protocol
