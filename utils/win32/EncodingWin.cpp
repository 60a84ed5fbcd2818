#include <objbase.h>
#include <windows.h>

#include "utils/Encoding.h"

namespace Utils {

std::wstring ToWide(const std::string& text, unsigned codePage) {
  const int length = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 0) return {};
  try {
    std::wstring wide(static_cast<size_t>(length), L'\0');
    if (MultiByteToWideChar(codePage, 0, text.c_str(), -1, wide.data(), length) <= 0) return {};
    wide.resize(static_cast<size_t>(length) - 1);  // the converted NUL
    return wide;
  } catch (...) {
    return {};
  }
}

std::string ToNarrow(const std::wstring& text, unsigned codePage) {
  const int length =
      WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  try {
    std::string narrow(static_cast<size_t>(length), '\0');
    if (WideCharToMultiByte(codePage, 0, text.c_str(), -1, narrow.data(), length, nullptr,
                            nullptr) <= 0) {
      return {};
    }
    narrow.resize(static_cast<size_t>(length) - 1);
    return narrow;
  } catch (...) {
    return {};
  }
}

std::wstring NewGuidString() {
  GUID guid{};
  if (FAILED(CoCreateGuid(&guid))) return {};
  return FormatGuid(static_cast<uint32_t>(guid.Data1), guid.Data2, guid.Data3, guid.Data4);
}

}  // namespace Utils
