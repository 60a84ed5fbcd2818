#include "utils/Log.h"


namespace Utils {

std::string_view QualifiedFunctionName(std::string_view pretty) {
  // The name ends at the parameter list: the first '(' outside template
  // brackets, unless "::" follows its closing ')', as in a lambda's
  // "Outer()::<lambda()>".
  size_t end = pretty.size();
  int angle = 0;
  for (size_t i = 0; i < pretty.size(); ++i) {
    const char c = pretty[i];
    if (c == '<') {
      ++angle;
    } else if (c == '>') {
      --angle;
    } else if (c == '(' && angle == 0) {
      int paren = 0;
      size_t j = i;
      for (; j < pretty.size(); ++j) {
        if (pretty[j] == '(') ++paren;
        if (pretty[j] == ')' && --paren == 0) break;
      }
      if (pretty.substr(j + 1, 2) == "::") {
        i = j + 2;
        continue;
      }
      end = i;
      break;
    }
  }
  // The return type, if any, ends at the last blank outside template brackets.
  size_t begin = 0;
  angle = 0;
  for (size_t i = end; i-- > 0;) {
    const char c = pretty[i];
    if (c == '>') {
      ++angle;
    } else if (c == '<') {
      --angle;
    } else if (c == ' ' && angle == 0) {
      begin = i + 1;
      break;
    }
  }
  return pretty.substr(begin, end - begin);
}

std::wstring JoinLogFormat(LogForm form, const wchar_t* message) {
  std::wstring format(kLogPrefixFormat);
  format += message;
  if (form == LogForm::Line) format += L"\r\n";
  return format;
}

std::wstring WideFunctionName(const char* prettyFunction) {
  const std::string_view name = QualifiedFunctionName(prettyFunction);
  return std::wstring(name.begin(), name.end());  // compiler-made names are ASCII
}

namespace {
std::mutex g_captureMutex;
DebugLogCapture* g_capture = nullptr;
}  // namespace

DebugLogCapture::DebugLogCapture() {
  std::lock_guard<std::mutex> lock(g_captureMutex);
  g_capture = this;
}

DebugLogCapture::~DebugLogCapture() {
  std::lock_guard<std::mutex> lock(g_captureMutex);
  if (g_capture == this) g_capture = nullptr;
}

std::vector<std::wstring> DebugLogCapture::Lines() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lines_;
}

std::vector<std::wstring> DebugLogCapture::LinesContaining(std::wstring_view text) const {
  std::vector<std::wstring> found;
  for (const std::wstring& line : Lines()) {
    const size_t prefixEnd = line.find(L">: ");
    const size_t messageStart = prefixEnd == std::wstring::npos ? 0 : prefixEnd + 3;
    if (line.find(text, messageStart) != std::wstring::npos) found.push_back(line);
  }
  return found;
}

void DebugLogCapture::Deliver(const wchar_t* line) {
  std::lock_guard<std::mutex> lock(g_captureMutex);
  if (g_capture == nullptr) return;
  std::lock_guard<std::mutex> lines(g_capture->mutex_);
  g_capture->lines_.emplace_back(line);
}

}  // namespace Utils
