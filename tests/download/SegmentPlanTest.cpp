#include <gtest/gtest.h>

#include "download/CurlDownloader.h"
#include "download/DigestCheck.h"
#include "download/Downloader.h"
#include "download/MTCurlDownloader.h"

namespace {

using Range = CMTCurlDownloader::Range;

TEST(SegmentPlan, OneSegmentBelowTwentyMebibytesTwoFromThere) {
  const std::pair<int64_t, std::vector<Range>> cases[] = {
      {256, {{0, 255}}},
      {20971519, {{0, 20971518}}},
      {20971520, {{0, 10485759}, {10485760, 20971519}}},
      {100000001, {{0, 49999999}, {50000000, 100000000}}},
      {3000000000LL, {{0, 1499999999}, {1500000000, 2999999999LL}}},
      // Beyond 32 bits, where the 32-bit product must not wrap.
      {4294967297LL, {{0, 2147483647LL}, {2147483648LL, 4294967296LL}}},
      {10000000001LL, {{0, 4999999999LL}, {5000000000LL, 10000000000LL}}}};
  for (const auto& [length, plan] : cases) EXPECT_EQ(CMTCurlDownloader::PlanSegments(length), plan) << length;
}

// A file that could not be read (a scanner holding it, say) has no digest,
// and that never passes for the digest the URL names.
TEST(DigestCheck, OnlyTheNamedBytesPass) {
  const std::string md5 = "0123456789abcdef0123456789abcdef";
  const struct {
    std::string expected;
    std::string actual;
    DigestOutcome outcome;
  } cases[] = {
      {md5, md5, DigestOutcome::kMatch},
      {md5, "", DigestOutcome::kMismatch},
      {md5, std::string(32, '0'), DigestOutcome::kMismatch},
      {"0123456789ABCDEF0123456789ABCDEF", md5, DigestOutcome::kMismatch},  // digests are lower case
      {"", md5, DigestOutcome::kNoDigestInUrl},
      {"216", "", DigestOutcome::kNoDigestInUrl},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckDigest(c.expected, c.actual), c.outcome) << c.expected << " " << c.actual;
}

TEST(DownloaderSelection, TypeTwoIsTheSystemsThreeIsSegmentedTheRestSingle) {
  const auto none = [](int, double, const wchar_t*) {};
  for (int type : {0, 1, 4, -1, 99}) {
    auto downloader = CreateDownloader(type, none, L"http://127.0.0.1:9/x", L"");
    EXPECT_NE(dynamic_cast<CCurlDownloader*>(downloader.get()), nullptr) << type;
  }
  EXPECT_NE(dynamic_cast<CMTCurlDownloader*>(CreateDownloader(3, none, L"http://127.0.0.1:9/x", L"").get()),
            nullptr);
  const auto system = CreateDownloader(2, none, L"http://127.0.0.1:9/x", L"");
  EXPECT_EQ(dynamic_cast<CCurlDownloader*>(system.get()), nullptr);
  EXPECT_EQ(dynamic_cast<CMTCurlDownloader*>(system.get()), nullptr);
#ifdef _WIN32
  EXPECT_NE(system, nullptr);
#else
  EXPECT_EQ(system, nullptr);  // no URL download service here
#endif
}

}  // namespace
