#pragma once
// The upload body: gzip, then Base64, then percent-encoding.

#include <string>

namespace zk_analytics {

// Level 9 gzip of the whole text; false (message on standard error) when zlib fails.
bool GzipCompress(const std::string& text, std::string& compressed);
// RFC 4648 standard alphabet, padded, no line breaks.
std::string Base64Encode(const std::string& bytes);
// Letters, digits and "-._~" stay; every other byte becomes %XX (upper case).
std::string PercentEncode(const std::string& text);
// "data_list=" + the encoded batch + "&gzip=1".
bool EncodeUploadBody(const std::string& batch, std::string& body);

}  // namespace zk_analytics
