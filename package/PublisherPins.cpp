#include "package/PublisherPins.h"

#include "package/Certificate.h"
#include "utils/Encoding.h"
#include "utils/Strings.h"

namespace {

int Base64Value(char c) {
  if (c >= 'A' && c <= 'Z') return c - 'A';
  if (c >= 'a' && c <= 'z') return c - 'a' + 26;
  if (c >= '0' && c <= '9') return c - '0' + 52;
  if (c == '+') return 62;
  if (c == '/') return 63;
  return -1;
}

std::optional<Utils::Sha256Digest> FromHex(const std::string& text) {
  Utils::Sha256Digest digest{};
  for (size_t i = 0; i < digest.size(); ++i) {
    const int high = Utils::HexDigitValue(text[2 * i]);
    const int low = Utils::HexDigitValue(text[2 * i + 1]);
    if (high < 0 || low < 0) return std::nullopt;
    digest[i] = static_cast<uint8_t>(high << 4 | low);
  }
  return digest;
}

// 32 bytes are 43 characters of 6 bits and one "=": the last character
// carries 4 bits, and its 2 spare bits must be zero, so each digest has
// exactly one spelling.
std::optional<Utils::Sha256Digest> FromBase64(const std::string& text) {
  if (text[43] != '=') return std::nullopt;
  Utils::Sha256Digest digest{};
  uint32_t bits = 0;
  int held = 0;
  size_t out = 0;
  for (size_t i = 0; i < 43; ++i) {
    const int value = Base64Value(text[i]);
    if (value < 0) return std::nullopt;
    bits = bits << 6 | static_cast<uint32_t>(value);
    held += 6;
    if (held >= 8) {
      held -= 8;
      digest[out++] = static_cast<uint8_t>(bits >> held);
      bits &= (1u << held) - 1;
    }
  }
  if (bits != 0) return std::nullopt;
  return digest;
}

}  // namespace

std::optional<Utils::Sha256Digest> ParsePin(const std::string& text) {
  if (text.size() == 64) return FromHex(text);
  if (text.size() == 44) return FromBase64(text);
  return std::nullopt;
}

std::optional<Utils::Sha256Digest> PinOfCertificate(const uint8_t* der, size_t size) {
  const std::optional<DerSpan> info = SubjectPublicKeyInfoOf(der, size);
  if (!info) return std::nullopt;
  return Utils::Sha256::Of(der + info->offset, info->size);
}

std::wstring SignerRefusal(const uint8_t* der, size_t size, const std::vector<std::string>& pins) {
  const std::optional<Utils::Sha256Digest> pin = PinOfCertificate(der, size);
  if (!pin) return L"the signer certificate cannot be read";
  for (const std::string& text : pins) {
    if (ParsePin(text) == pin) return std::wstring();
  }
  return L"the signer's key " + Utils::ToWide(Utils::Sha256::Hex(*pin), Utils::kCodePageUtf8) +
         L" is not a pinned publisher";
}
