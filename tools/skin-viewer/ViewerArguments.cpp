#include "ViewerArguments.h"

#include <cwchar>

namespace {

bool TakeOption(const std::wstring& arg, const wchar_t* prefix, std::wstring& value) {
  const size_t length = std::wcslen(prefix);
  if (arg.compare(0, length, prefix) != 0) return false;
  value = arg.substr(length);
  return true;
}

}  // namespace

std::optional<ViewerArguments> ParseViewerArguments(const std::vector<std::wstring>& args) {
  ViewerArguments parsed;
  bool havePage = false;
  for (const std::wstring& arg : args) {
    std::wstring value;
    if (TakeOption(arg, L"-text=", value)) {
      parsed.text = value;
    } else if (TakeOption(arg, L"-caption=", value)) {
      parsed.caption = value;
    } else if (TakeOption(arg, L"-progress=", value)) {
      parsed.progress = static_cast<int>(std::wcstol(value.c_str(), nullptr, 10));
    } else if (parsed.file.empty()) {
      parsed.file = arg;
    } else if (!havePage) {
      parsed.page = static_cast<int>(std::wcstol(arg.c_str(), nullptr, 10));
      havePage = true;
    }
  }
  if (parsed.file.empty()) return std::nullopt;
  return parsed;
}
