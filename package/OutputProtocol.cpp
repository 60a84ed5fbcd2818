#include "package/OutputProtocol.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <cwctype>

#include "utils/Encoding.h"

namespace {

double ScanNumber(const std::wstring& value) {
  wchar_t* end = nullptr;
  const double number = std::wcstod(value.c_str(), &end);
  return end == value.c_str() ? 0.0 : number;
}

// "%d" read into an unsigned 32-bit value: every number from -2147483648 to
// 4294967295 is taken modulo 2^32 (so -1 is 4294967295); beyond, the nearest end.
uint32_t ScanUnsigned32(const std::wstring& value) {
  wchar_t* end = nullptr;
  const long long number = std::wcstoll(value.c_str(), &end, 10);  // pinned to 64 bits when beyond
  if (end == value.c_str()) return 0;
  return static_cast<uint32_t>(std::clamp<long long>(number, INT32_MIN, UINT32_MAX));
}

// The rest of the line, cut to the longest text kept. CR LF ends a line as LF
// does (text-mode C runtimes write it), so no text keeps a CR at its end,
// neither from the line's end nor from the cut.
std::wstring ScanText(const std::wstring& value) {
  std::wstring text = value.substr(0, OutputInterpreter::kMaxTextLength);
  while (!text.empty() && text.back() == L'\r') text.pop_back();
  return text;
}

std::wstring Trim(const std::wstring& value) {
  size_t begin = 0;
  size_t end = value.size();
  while (begin < end && std::iswspace(static_cast<wint_t>(value[begin]))) ++begin;
  while (end > begin && std::iswspace(static_cast<wint_t>(value[end - 1]))) --end;
  return value.substr(begin, end - begin);
}

bool StartsWith(const std::wstring& line, const wchar_t* key, std::wstring& value) {
  const size_t length = std::wcslen(key);
  if (line.compare(0, length, key) != 0) return false;
  value = line.substr(length);
  return true;
}

// An Encode= value of the package: a name or a code page number in 32 bits.
// A code page the system cannot decode would turn every later line into
// nothing, the outcome too: the ANSI code page stands in for it.
unsigned PackageCodePage(const std::wstring& value) {
  const std::wstring name = Trim(value);
  if (name == L"UTF8") return Utils::kCodePageUtf8;
  if (name == L"ACP") return Utils::kCodePageAnsi;
  wchar_t* end = nullptr;
  const long long number = std::wcstoll(name.c_str(), &end, 10);
  if (end == name.c_str() || number < INT32_MIN || number > INT32_MAX) return Utils::kCodePageAnsi;
  const auto codePage = static_cast<unsigned>(static_cast<int32_t>(number));
  return Utils::ToWide("A", codePage).empty() ? Utils::kCodePageAnsi : codePage;
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

int OutputInterpreter::Interpret(const std::wstring& line) {
  return kind_ == ChildKind::Uninstaller ? InterpretUninstallerLine(line)
                                         : InterpretPackageLine(line);
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
    Send(IST_INFO_TOP_SHOW_DETENTION, ScanUnsigned32(value));
  } else if (StartsWith(line, L"FinsihCloseDetention=", value)) {
    Send(IST_INFO_FINISH_CLOSE_DETENTION, ScanUnsigned32(value));
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
