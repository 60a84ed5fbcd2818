#include "analytics/BodyEncoding.h"

#include <zlib.h>

#include <limits>
#include <iostream>

namespace zk_analytics {

bool GzipCompress(const std::string& text, std::string& compressed) {
  compressed.clear();
  if constexpr (sizeof(size_t) > sizeof(uInt)) {
    // One deflate call takes at most 4 GiB of input.
    if (text.size() > std::numeric_limits<uInt>::max()) {
      std::cerr << "Exception during zlib compression: (" << Z_BUF_ERROR << ") input too large"
                << std::endl;
      return false;
    }
  }
  z_stream stream{};
  // 31 window bits: a 32 KiB window with the gzip wrapper.
  if (deflateInit2(&stream, 9, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    std::cerr << "deflateInit2 failed while compressing." << std::endl;
    return false;
  }
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  stream.avail_in = static_cast<uInt>(text.size());
  char buffer[32768];
  int result;
  do {
    stream.next_out = reinterpret_cast<Bytef*>(buffer);
    stream.avail_out = sizeof buffer;
    result = deflate(&stream, Z_FINISH);
    compressed.append(buffer, sizeof buffer - stream.avail_out);
  } while (result == Z_OK);
  const std::string message = stream.msg != nullptr ? stream.msg : "";
  deflateEnd(&stream);
  if (result != Z_STREAM_END) {
    std::cerr << "Exception during zlib compression: (" << result << ") " << message << std::endl;
    compressed.clear();
    return false;
  }
  return true;
}

std::string Base64Encode(const std::string& bytes) {
  static const char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  size_t i = 0;
  for (; i + 3 <= bytes.size(); i += 3) {
    const uint32_t group = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16 |
                           static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8 |
                           static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 2]));
    out += kAlphabet[group >> 18 & 63];
    out += kAlphabet[group >> 12 & 63];
    out += kAlphabet[group >> 6 & 63];
    out += kAlphabet[group & 63];
  }
  const size_t rest = bytes.size() - i;
  if (rest > 0) {
    uint32_t group = static_cast<uint32_t>(static_cast<unsigned char>(bytes[i])) << 16;
    if (rest == 2) group |= static_cast<uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
    out += kAlphabet[group >> 18 & 63];
    out += kAlphabet[group >> 12 & 63];
    out += rest == 2 ? kAlphabet[group >> 6 & 63] : '=';
    out += '=';
  }
  return out;
}

std::string PercentEncode(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size() * 3);
  for (const char c : text) {
    const unsigned char byte = static_cast<unsigned char>(c);
    const bool keep = (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
                      (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' || byte == '_' ||
                      byte == '~';
    if (keep) {
      out += c;
    } else {
      out += '%';
      out += kHex[byte >> 4];
      out += kHex[byte & 15];
    }
  }
  return out;
}

bool EncodeUploadBody(const std::string& batch, std::string& body) {
  std::string compressed;
  if (!GzipCompress(batch, compressed)) return false;
  body = "data_list=" + PercentEncode(Base64Encode(compressed)) + "&gzip=1";
  return true;
}

}  // namespace zk_analytics
