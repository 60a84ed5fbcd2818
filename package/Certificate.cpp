#include "package/Certificate.h"

namespace {

constexpr uint8_t kSequence = 0x30;
constexpr uint8_t kInteger = 0x02;
constexpr uint8_t kBitString = 0x03;
constexpr uint8_t kExplicitVersion = 0xA0;  // [0] EXPLICIT in TBSCertificate
constexpr size_t kMaxLengthBytes = 4;      // no certificate comes near 4 GiB

struct Element {
  uint8_t tag = 0;
  size_t start = 0;   // of the tag
  size_t header = 0;  // tag and length bytes
  size_t length = 0;  // of the contents
  size_t Contents() const { return start + header; }
  size_t End() const { return start + header + length; }
};

// The element starting at `at`, which must end by `end`.
std::optional<Element> ReadElement(const uint8_t* der, size_t at, size_t end) {
  if (at >= end || end - at < 2) return std::nullopt;
  Element element;
  element.start = at;
  element.tag = der[at];
  if ((element.tag & 0x1F) == 0x1F) return std::nullopt;  // high tag numbers: none on our path
  const uint8_t first = der[at + 1];
  if (first < 0x80) {
    element.header = 2;
    element.length = first;
  } else {
    const size_t count = first & 0x7F;
    if (count == 0 || count > kMaxLengthBytes) return std::nullopt;  // indefinite or absurd
    if (end - at - 2 < count) return std::nullopt;
    if (der[at + 2] == 0) return std::nullopt;  // not minimal
    for (size_t i = 0; i < count; ++i) element.length = element.length << 8 | der[at + 2 + i];
    if (element.length < 0x80) return std::nullopt;  // the short form was due
    element.header = 2 + count;
  }
  if (end - at - element.header < element.length) return std::nullopt;
  return element;
}

// The next element, which must carry `tag`.
std::optional<Element> Expect(const uint8_t* der, size_t at, size_t end, uint8_t tag) {
  const std::optional<Element> element = ReadElement(der, at, end);
  if (!element || element->tag != tag) return std::nullopt;
  return element;
}

// SubjectPublicKeyInfo ::= SEQUENCE { algorithm AlgorithmIdentifier, subjectPublicKey BIT STRING }
bool IsKeyInfo(const uint8_t* der, const Element& info) {
  const auto algorithm = Expect(der, info.Contents(), info.End(), kSequence);
  if (!algorithm) return false;
  const auto key = Expect(der, algorithm->End(), info.End(), kBitString);
  return key && key->End() == info.End();
}

}  // namespace

std::optional<DerSpan> SubjectPublicKeyInfoOf(const uint8_t* der, size_t size) {
  if (der == nullptr) return std::nullopt;
  const auto certificate = Expect(der, 0, size, kSequence);
  if (!certificate || certificate->End() != size) return std::nullopt;
  const auto tbs = Expect(der, certificate->Contents(), size, kSequence);
  if (!tbs) return std::nullopt;

  size_t at = tbs->Contents();
  const auto version = ReadElement(der, at, tbs->End());
  if (version && version->tag == kExplicitVersion) at = version->End();
  // serialNumber, then signature, issuer, validity and subject, then the key.
  const auto serial = Expect(der, at, tbs->End(), kInteger);
  if (!serial) return std::nullopt;
  at = serial->End();
  for (int skipped = 0; skipped < 4; ++skipped) {
    const auto field = Expect(der, at, tbs->End(), kSequence);
    if (!field) return std::nullopt;
    at = field->End();
  }
  const auto info = Expect(der, at, tbs->End(), kSequence);
  if (!info || !IsKeyInfo(der, *info)) return std::nullopt;
  return DerSpan{info->start, info->header + info->length};
}
