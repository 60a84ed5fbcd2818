// Publisher pins: the DER walk to the SubjectPublicKeyInfo, the pins' two
// spellings, and both against certificates that openssl made.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "package/Certificate.h"
#include "package/PublisherPins.h"
#include "tests/package/DerBuilder.h"
#include "tests/support/TestFiles.h"

namespace {

using DerBuilder::Certificate;
using DerBuilder::Fields;
using DerBuilder::KeyInfo;

const uint8_t* Bytes(const std::string& der) { return reinterpret_cast<const uint8_t*>(der.data()); }

std::optional<std::string> KeyInfoOf(const std::string& der) {
  const std::optional<DerSpan> span = SubjectPublicKeyInfoOf(Bytes(der), der.size());
  if (!span) return std::nullopt;
  return der.substr(span->offset, span->size);
}

TEST(SubjectPublicKeyInfo, IsFoundWithAndWithoutTheVersionAndWithLongLengths) {
  Fields plain;
  Fields noVersion;
  noVersion.version = false;
  Fields bigKey;  // two length bytes on the key, three on the certificate
  bigKey.keyInfo = KeyInfo(70000);
  for (const Fields& fields : {plain, noVersion, bigKey}) {
    EXPECT_EQ(KeyInfoOf(Certificate(fields)), fields.keyInfo);
  }
}

TEST(SubjectPublicKeyInfo, MalformedEncodingsGiveNothing) {
  const std::string good = Certificate();
  const std::string shortKey = KeyInfo(10);  // "\x30" and one length byte below 0x80
  auto withKey = [](const std::string& keyInfo) {
    Fields fields;
    fields.keyInfo = keyInfo;
    return Certificate(fields);
  };
  const std::string algorithmOnly =
      DerBuilder::Sequence(DerBuilder::Sequence(DerBuilder::Element(0x06, "\x2A\x86\x48\x86\xF7\x0D\x01\x01\x01")));
  const std::pair<const char*, std::string> cases[] = {
      {"empty", ""},
      {"one byte short", good.substr(0, good.size() - 1)},
      {"a byte after the certificate", good + '\0'},
      {"indefinite length", "\x30\x80" + good.substr(4) + std::string(2, '\0')},
      {"length in five bytes", std::string("\x30\x85\x00\x00\x00\x01\x00", 7)},
      {"long form where the short was due", withKey("\x30\x81" + shortKey.substr(1))},
      {"long form with a leading zero", withKey(std::string("\x30\x82\x00", 3) + shortKey.substr(1))},
      {"key longer than its certificate", withKey("\x30\x7F" + shortKey.substr(2))},
      {"high tag number", withKey("\x3F" + shortKey.substr(1))},
      {"no key at all", withKey("")},
      {"key without its bit string", withKey(algorithmOnly)},
      {"key with more after its bit string", withKey(DerBuilder::Sequence(shortKey.substr(2) + DerBuilder::Element(0x05, "")))},
      {"no certificate but its key", shortKey},
  };
  for (const auto& [name, der] : cases) EXPECT_EQ(KeyInfoOf(der), std::nullopt) << name;
  EXPECT_EQ(SubjectPublicKeyInfoOf(nullptr, 0), std::nullopt);
}

TEST(ParsePin, HexAndBase64SpellTheSameDigestAndNothingElseIsAPin) {
  const Utils::Sha256Digest abc = Utils::Sha256::Of("abc", 3);
  const std::pair<std::string, std::optional<Utils::Sha256Digest>> cases[] = {
      {"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad", abc},
      {"BA7816BF8F01CFEA414140DE5DAE2223B00361A396177A9CB410FF61F20015AD", abc},
      {"ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0=", abc},
      {"", std::nullopt},
      {"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015a", std::nullopt},  // 63 digits
      {"ga7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad", std::nullopt},
      {"ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0A", std::nullopt},  // no padding
      {"ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa1=", std::nullopt},  // spare bits set
      {"ungWv48Bz-pBQUDeXa4iI7ADYaOWF3qctBD_YfIAFa0=", std::nullopt},  // the URL alphabet
  };
  for (const auto& [text, digest] : cases) EXPECT_EQ(ParsePin(text), digest) << text;
}

class OpensslCertificates : public testing::Test {
 protected:
  static std::string Read(const char* name) {
    std::ifstream in(TestSupport::HostPath(std::string(QUORVANE_TEST_PUBLISHER_DIR) + "/" + name),
                     std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in) ADD_FAILURE() << "no " << name << " from the test publisher";
    return bytes.str();
  }
  static std::string Pin(const char* name) {
    std::string pin = Read(name);
    while (!pin.empty() && (pin.back() == '\n' || pin.back() == '\r')) pin.pop_back();
    return pin;
  }
};

// openssl computed the pins over the key it extracted itself.
TEST_F(OpensslCertificates, OurPinsAreTheOnesOpensslComputes) {
  for (const auto& [certificate, pin] : {std::pair{"publisher.der", "pin.txt"}, {"impostor.der", "impostor-pin.txt"}}) {
    const std::string der = Read(certificate);
    ASSERT_TRUE(ParsePin(Pin(pin)).has_value()) << pin;
    EXPECT_EQ(PinOfCertificate(Bytes(der), der.size()), ParsePin(Pin(pin))) << certificate;
  }
}

TEST_F(OpensslCertificates, OnlyThePinnedKeyIsAdmittedWhateverTheName) {
  const std::vector<std::string> pins = {"ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad", Pin("pin.txt")};
  const std::string publisher = Read("publisher.der");
  const std::string impostor = Read("impostor.der");  // same subject, another key
  EXPECT_EQ(SignerRefusal(Bytes(publisher), publisher.size(), pins), L"");
  const std::wstring refusal = SignerRefusal(Bytes(impostor), impostor.size(), pins);
  EXPECT_NE(refusal.find(L"is not a pinned publisher"), std::wstring::npos);
  EXPECT_NE(SignerRefusal(Bytes(publisher), publisher.size(), {Pin("impostor-pin.txt")}), L"");
  EXPECT_EQ(SignerRefusal(Bytes(publisher), publisher.size() - 1, pins), L"the signer certificate cannot be read");
}

}  // namespace
