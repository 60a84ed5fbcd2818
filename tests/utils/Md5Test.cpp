#include <gtest/gtest.h>

#include <string>

#include "tests/support/TestFiles.h"
#include "tests/utils/DigestPieces.h"
#include "utils/Encoding.h"
#include "utils/Md5.h"

namespace {

std::string Md5Of(const std::string& text) {
  Utils::Md5 md5;
  md5.Update(text.data(), text.size());
  return Utils::Md5::Hex(md5.Finish());
}

TEST(Md5, Rfc1321Suite) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"}};
  for (const auto& [text, digest] : cases) EXPECT_EQ(Md5Of(text), digest) << text;
}

TEST(Md5, PiecesGiveTheSameDigestAsOneBlock) {
  for (size_t piece : kDigestPieces) {
    EXPECT_EQ(HexInPieces<Utils::Md5>(DigestPieceData(), piece), "046b3239eaade30920069f171518d956") << piece;
  }
}

TEST(FileMD5, FilesEmptyMissingAndNoPath) {
  TestSupport::ScratchFolder folder(L"md5");
  std::string data;
  for (int i = 0; i < 5000; ++i) data += static_cast<char>(i % 251);
  // A name outside the ANSI code page, to show the path is taken as UTF-16.
  TestSupport::WriteFile(folder / L"한글 🎬.bin", data);
  TestSupport::WriteFile(folder / L"empty.bin", "");
  EXPECT_EQ(Utils::FileMD5(folder / L"한글 🎬.bin"), "046b3239eaade30920069f171518d956");
  EXPECT_EQ(Utils::FileMD5(folder / L"empty.bin"), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(Utils::FileMD5(folder / L"missing.bin"), "");
  EXPECT_EQ(Utils::FileMD5(folder.Path()), "");  // a folder is no file
  EXPECT_EQ(Utils::FileMD5(L""), "");
}

}  // namespace
