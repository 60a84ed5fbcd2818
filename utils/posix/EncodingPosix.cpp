#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "utils/Encoding.h"

namespace Utils {
namespace {

// The native build's stand-in for the system code pages: the ANSI code page is
// UTF-8 here, other numbers map to iconv's "CPnnn" tables.
std::string CharsetName(unsigned codePage) {
  if (codePage == kCodePageAnsi || codePage == kCodePageUtf8) return "UTF-8";
  return "CP" + std::to_string(codePage);
}

const char* const kWideCharset = sizeof(wchar_t) == 4 ? "UTF-32LE" : "UTF-16LE";

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (valid()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts all of `in`; an input unit (`unit` bytes) the tables cannot take
  // becomes `replacement`, as the system conversions do without strict flags.
  bool Run(const char* in, size_t inSize, size_t unit, const std::string& replacement,
           std::string& out) {
    char* src = const_cast<char*>(in);
    size_t left = inSize;
    char buffer[4096];
    while (left > 0) {
      char* dst = buffer;
      size_t room = sizeof buffer;
      const size_t result = iconv(cd_, &src, &left, &dst, &room);
      out.append(buffer, sizeof buffer - room);
      if (result == static_cast<size_t>(-1)) {
        if (errno == E2BIG) continue;
        if (errno != EILSEQ && errno != EINVAL) return false;
        out += replacement;
        const size_t step = unit < left ? unit : left;
        src += step;
        left -= step;
      }
    }
    return true;
  }
 private:
  iconv_t cd_;
};

}  // namespace

std::wstring ToWide(const std::string& text, unsigned codePage) {
  const size_t length = std::strlen(text.c_str());
  if (length == 0) return {};
  try {
    Converter converter(kWideCharset, CharsetName(codePage).c_str());
    if (!converter.valid()) return {};
    std::string bytes;
    const wchar_t replacement = 0xFFFD;
    if (!converter.Run(text.c_str(), length, 1,
                       std::string(reinterpret_cast<const char*>(&replacement), sizeof replacement),
                       bytes)) {
      return {};
    }
    std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(wide.data(), bytes.data(), wide.size() * sizeof(wchar_t));
    return wide;
  } catch (...) {
    return {};
  }
}

std::string ToNarrow(const std::wstring& text, unsigned codePage) {
  const size_t length = std::wcslen(text.c_str());
  if (length == 0) return {};
  try {
    Converter converter(CharsetName(codePage).c_str(), kWideCharset);
    if (!converter.valid()) return {};
    std::string narrow;
    if (!converter.Run(reinterpret_cast<const char*>(text.c_str()), length * sizeof(wchar_t),
                       sizeof(wchar_t), "?",
                       narrow)) {
      return {};
    }
    return narrow;
  } catch (...) {
    return {};
  }
}

}  // namespace Utils
