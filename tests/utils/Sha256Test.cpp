#include <gtest/gtest.h>

#include <string>

#include "tests/utils/DigestPieces.h"
#include "utils/Sha256.h"

namespace {

std::string Sha256Of(const std::string& text) {
  return Utils::Sha256::Hex(Utils::Sha256::Of(text.data(), text.size()));
}

// The FIPS 180-2 examples, and lengths around the padding's edges (one block
// holds 55 bytes with the length, 56 and 64 need a second block), checked
// against Python's hashlib.
TEST(Sha256, KnownVectors) {
  const std::pair<std::string, const char*> cases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
      {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
      {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
      {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"}};
  for (const auto& [text, digest] : cases) EXPECT_EQ(Sha256Of(text), digest) << text.size();
}

TEST(Sha256, PiecesGiveTheSameDigestAsOneBlock) {
  for (size_t piece : kDigestPieces) {
    EXPECT_EQ(HexInPieces<Utils::Sha256>(DigestPieceData(), piece),
              "69dbee893909fa17d1be397e0c07691336fe42049c29d403467d3d4a1fc3b5a1")
        << piece;
  }
}

}  // namespace
