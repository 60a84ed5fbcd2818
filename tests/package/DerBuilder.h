#pragma once
// Hand-made DER for the certificate tests: elements with correct lengths, and
// a certificate skeleton whose fields can be left out or replaced.

#include <cstdint>
#include <string>

namespace DerBuilder {

inline std::string Element(uint8_t tag, const std::string& contents) {
  std::string out(1, static_cast<char>(tag));
  const size_t size = contents.size();
  if (size < 0x80) {
    out += static_cast<char>(size);
  } else {
    std::string length;
    for (size_t left = size; left > 0; left >>= 8) length.insert(length.begin(), static_cast<char>(left & 0xFF));
    out += static_cast<char>(0x80 | length.size());
    out += length;
  }
  return out + contents;
}

inline std::string Sequence(const std::string& contents) { return Element(0x30, contents); }

// SubjectPublicKeyInfo: an algorithm and a key of `keyBytes` bytes.
inline std::string KeyInfo(size_t keyBytes = 270) {
  const std::string algorithm = Sequence(Element(0x06, "\x2A\x86\x48\x86\xF7\x0D\x01\x01\x01") + Element(0x05, ""));
  return Sequence(algorithm + Element(0x03, std::string(1, '\0') + std::string(keyBytes, '\x5A')));
}

struct Fields {
  bool version = true;
  std::string keyInfo = KeyInfo();
  std::string extensions = Element(0xA3, Sequence(""));
};

// A certificate with every TBSCertificate field up to the key, the key, then
// the signature algorithm and value.
inline std::string Certificate(const Fields& fields = Fields()) {
  const std::string name = Sequence(Element(0x31, Sequence(Element(0x06, "\x55\x04\x03") + Element(0x0C, "Quorvane"))));
  const std::string signatureAlgorithm = Sequence(Element(0x06, "\x2A\x86\x48\x86\xF7\x0D\x01\x01\x0B") + Element(0x05, ""));
  std::string tbs;
  if (fields.version) tbs += Element(0xA0, Element(0x02, "\x02"));
  tbs += Element(0x02, "\x01\x23\x45");
  tbs += signatureAlgorithm + name;
  tbs += Sequence(Element(0x17, "260101000000Z") + Element(0x17, "360101000000Z"));
  tbs += name + fields.keyInfo + fields.extensions;
  return Sequence(Sequence(tbs) + signatureAlgorithm + Element(0x03, std::string(1, '\0') + std::string(256, '\x11')));
}

}  // namespace DerBuilder
