#include "utils/Encoding.h"

#include <cstdio>
#include <cwchar>
#include <new>
#include <vector>

#include "utils/File.h"
#include "utils/Md5.h"

namespace Utils {

std::string UrlEncode(const std::string& bytes) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(bytes.size() * 3);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x21 && byte <= 0x7E) {
      out += c;
    } else if (byte == 0x20) {
      out += '+';
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}

std::wstring UrlEncodeW(const std::wstring& text) {
  return ToWide(UrlEncode(ToNarrow(text, kCodePageUtf8)), kCodePageUtf8);
}

std::wstring FormatGuid(uint32_t data1, uint16_t data2, uint16_t data3,
                        const uint8_t (&data4)[8]) {
  wchar_t buffer[50] = {};
  std::swprintf(buffer, 50, L"%08X%04X%04x%02X%02X%02X%02X%02X%02X%02X%02X",
                static_cast<unsigned>(data1), unsigned{data2}, unsigned{data3}, unsigned{data4[0]},
                unsigned{data4[1]}, unsigned{data4[2]}, unsigned{data4[3]}, unsigned{data4[4]},
                unsigned{data4[5]}, unsigned{data4[6]}, unsigned{data4[7]});
  return buffer;
}

std::string FileMD5(const std::wstring& path) {
  if (path.empty()) return {};
  File file = File::Open(path, File::Mode::kRead);
  if (!file.IsOpen()) return {};
  try {
    Md5 md5;
    std::vector<unsigned char> chunk(1 << 20);
    int64_t got;
    while ((got = file.Read(chunk.data(), chunk.size())) > 0) md5.Update(chunk.data(), static_cast<size_t>(got));
    return got < 0 ? std::string() : Md5::Hex(md5.Finish());
  } catch (const std::bad_alloc&) {
    return {};
  }
}

std::string UrlDigestSegment(const std::string& url) {
  const size_t last = url.rfind('/');
  if (last == std::string::npos || last == 0) return {};
  const size_t previous = url.rfind('/', last - 1);
  if (previous == std::string::npos) return {};
  return url.substr(previous + 1, last - previous - 1);
}

}  // namespace Utils
