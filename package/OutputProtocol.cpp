#include "package/OutputProtocol.h"

#include <cerrno>
#include <climits>
#include <cwchar>
#include <cwctype>
#include <sstream>

namespace protocol {

double ScanNumber(const std::wstring& value) {
  wchar_t* end = nullptr;
  const double number = std::wcstod(value.c_str(), &end);
  return end == value.c_str() ? 0.0 : number;
}

int ScanInt(const std::wstring& value) {
  wchar_t* end = nullptr;
  errno = 0;
  const long number = std::wcstol(value.c_str(), &end, 10);
  if (end == value.c_str()) return 0;
  if (errno == ERANGE || number > INT_MAX) return INT_MAX;
  if (number < INT_MIN) return INT_MIN;
  return static_cast<int>(number);
}

std::wstring ScanText(const std::wstring& value) {
  return value.substr(0, OutputInterpreter::kMaxTextLength);
}

std::wstring Trim(const std::wstring& value) {
  size_t begin = 0;
  size_t end = value.size();
  while (begin < end && std::iswspace(static_cast<wint_t>(value[begin]))) ++begin;
  while (end > begin && std::iswspace(static_cast<wint_t>(value[end - 1]))) --end;
  return value.substr(begin, end - begin);
}

}  // namespace protocol

namespace {

using protocol::ScanInt;
using protocol::ScanNumber;
using protocol::ScanText;
using protocol::Trim;

bool StartsWith(const std::wstring& line, const wchar_t* key, std::wstring& value) {
  const size_t length = std::wcslen(key);
  if (line.compare(0, length, key) != 0) return false;
  value = line.substr(length);
  return true;
}

// An Encode= value of the package: a name or a code page number in 32 bits.
unsigned PackageCodePage(const std::wstring& value) {
  const std::wstring name = Trim(value);
  if (name == L"UTF8") return 65001;
  if (name == L"ACP") return 0;
  wchar_t* end = nullptr;
  errno = 0;
  const long number = std::wcstol(name.c_str(), &end, 10);
  if (end == name.c_str() || errno == ERANGE || number < INT_MIN || number > INT_MAX) return 0;
  return static_cast<unsigned>(static_cast<int>(number));
}

double StartupStyle(const std::wstring& value) {
  const std::wstring style = Trim(value);
  if (style == L"AutoStartup") return 1;
  if (style == L"UserStartup") return 2;
  return 0;  // "NonStartup" and anything unknown
}

}  // namespace

OutputInterpreter::OutputInterpreter(ChildKind kind, StatusCallback callback)
    : kind_(kind), callback_(std::move(callback)) {}

void OutputInterpreter::Send(int code, double value, const std::wstring& text) const {
  callback_(code, value, text.c_str());
}

int OutputInterpreter::Interpret(const std::wstring& chunk) {
  int result = kNoOutcome;
  std::wistringstream lines(chunk);
  std::wstring line;
  while (std::getline(lines, line, L'\n')) {
    const int outcome =
        kind_ == ChildKind::Uninstaller ? InterpretUninstallerLine(line) : InterpretPackageLine(line);
    if (outcome != kNoOutcome) result = outcome;
  }
  return result;
}

int OutputInterpreter::InterpretUninstallerLine(const std::wstring& line) {
  std::wstring value;
  if (StartsWith(line, L"Progress=", value)) {
    Send(UNIST_CODE_PROGRESS, ScanNumber(value));
  } else if (StartsWith(line, L"Error=", value)) {
    Send(UNIST_CODE_ERROR, 0.0, ScanText(value));
    return kFailureLine;
  } else if (StartsWith(line, L"State=", value)) {
    const std::wstring state = Trim(ScanText(value));
    if (state == L"Success") {
      Send(UNIST_CODE_SUCCESS, 0.0);
      return kSuccessLine;
    }
    if (state == L"Fail") {
      Send(UNIST_CODE_ERROR, 0.0, L"安装包卸载失败");
      return kFailureLine;
    }
  } else if (StartsWith(line, L"Encode=", value)) {
    codePage_ = Trim(ScanText(value)) == L"UTF8" ? 65001 : 0;
  }
  return kNoOutcome;
}

int OutputInterpreter::InterpretPackageLine(const std::wstring& line) {
  std::wstring value;
  // Longer keys that share a beginning come first ("UninstExePath=" before "UninstExe=").
  struct Fact {
    const wchar_t* key;
    int code;
  };
  static const Fact kFacts[] = {
      {L"ExePath=", IST_INFO_EXE_PATH},          {L"StartExe=", IST_INFO_EXE_PATH},
      {L"UninstExePath=", IST_INFO_UNINST_EXE},  {L"UninstExe=", IST_INFO_UNINST_EXE},
      {L"UninstEp=", IST_INFO_UNINST_EP}};

  if (StartsWith(line, L"Progress=", value)) {
    Send(IST_CODE_PROGRESS, ScanNumber(value));
    return kNoOutcome;
  }
  if (StartsWith(line, L"InstPath=", value)) {
    Send(IST_INFO_INST_PATH, 0.0, ScanText(value));
    return kNoOutcome;
  }
  if (StartsWith(line, L"State=", value)) {
    const std::wstring state = Trim(ScanText(value));
    if (state == L"Success") {
      Send(IST_CODE_SUCCESS, 0.0);
      return kSuccessLine;
    }
    if (state == L"Fail") {
      Send(IST_CODE_FAIL, 0.0, L"安装包安装失败");
      return kFailureLine;
    }
    return kNoOutcome;
  }
  if (StartsWith(line, L"InstallVersion=", value)) return kNoOutcome;  // read, not reported
  for (const Fact& fact : kFacts) {
    if (StartsWith(line, fact.key, value)) {
      Send(fact.code, 0.0, ScanText(value));
      return kNoOutcome;
    }
  }
  if (StartsWith(line, L"Error=", value)) {
    Send(IST_CODE_FAIL, 1000.0, ScanText(value));
    return kFailureLine;
  }
  if (StartsWith(line, L"TopShowDetention=", value)) {
    Send(IST_INFO_TOP_SHOW_DETENTION, static_cast<double>(static_cast<unsigned>(ScanInt(value))));
  } else if (StartsWith(line, L"FinsihCloseDetention=", value)) {
    Send(IST_INFO_FINISH_CLOSE_DETENTION,
         static_cast<double>(static_cast<unsigned>(ScanInt(value))));
  } else if (StartsWith(line, L"StartUrl=", value)) {
    Send(IST_INFO_START_URL, 0.0, ScanText(value));
  } else if (StartsWith(line, L"StartupStyle=", value)) {
    Send(IST_INFO_STARTUP_STYLE, StartupStyle(ScanText(value)));
  } else if (StartsWith(line, L"Encode=", value)) {
    codePage_ = PackageCodePage(ScanText(value));
  } else if (StartsWith(line, L"Message=", value)) {
    Send(IST_INFO_MESSAGE, 0.0, ScanText(value));
  }
  return kNoOutcome;
}
