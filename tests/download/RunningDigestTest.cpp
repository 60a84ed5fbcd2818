#include <gtest/gtest.h>

#include <string>

#include "download/RunningDigest.h"
#include "tests/support/TestFiles.h"
#include "utils/Encoding.h"

namespace {

std::string Bytes(size_t length, int seed) {
  std::string bytes;
  for (size_t i = 0; i < length; ++i) bytes += static_cast<char>((i * 31 + seed) % 251);
  return bytes;
}

// The digest of what a resumed download appends must be the digest of the
// whole file, and it must not vouch for a file that holds something else.
TEST(RunningDigest, ResumesFromTheFileAndVouchesOnlyForItsLength) {
  TestSupport::ScratchFolder folder(L"digest");
  // A name the ANSI code page cannot hold: files are reached by their UTF-16 path.
  const std::wstring path = folder / L"한글 🎬.part";
  const std::string kept = Bytes(3 << 20, 1);  // more than one read of the file
  const std::string added = Bytes(100000, 2);

  RunningDigest digest;
  digest.Restart(path);  // no file yet
  EXPECT_EQ(digest.Length(), 0);

  TestSupport::WriteFile(path, kept);
  digest.Restart(path);
  EXPECT_EQ(digest.Length(), static_cast<long long>(kept.size()));
  digest.Add(added.data(), added.size());
  EXPECT_EQ(digest.HexFor(path), "");  // the appended bytes are not on disk

  TestSupport::WriteFile(path, kept + added);
  EXPECT_EQ(digest.HexFor(path), Utils::FileMD5(path));
  EXPECT_EQ(digest.HexFor(path + L".missing"), "");
}

}  // namespace
