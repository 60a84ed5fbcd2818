#pragma once
// The line protocol children print on their standard output: Key=Value lines,
// decoded with the code page the child announces, turned into status codes.

#include <string>

#include "utils/StatusCodes.h"

enum class ChildKind { Uninstaller, Package };

class OutputInterpreter {
 public:
  static constexpr int kNoOutcome = 0;
  static constexpr int kSuccessLine = 1;
  static constexpr int kFailureLine = 1000;
  static constexpr size_t kMaxTextLength = 771;

  OutputInterpreter(ChildKind kind, StatusCallback callback);

  // Sends the codes of one decoded line (without its LF; a CR before it is
  // part of the line end); returns whether the line decided the outcome.
  int Interpret(const std::wstring& line);

  // How the child's next line is decoded (0 until an Encode= line).
  unsigned CodePage() const { return codePage_; }

 private:
  int InterpretUninstallerLine(const std::wstring& line);
  int InterpretPackageLine(const std::wstring& line);
  void Send(int code, double value, const std::wstring& text = std::wstring()) const;

  ChildKind kind_;
  StatusCallback callback_;
  unsigned codePage_ = 0;
};
