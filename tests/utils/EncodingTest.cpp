#include <gtest/gtest.h>

#include <cwctype>

#include "tests/support/TestFiles.h"
#include "utils/Encoding.h"

namespace {

struct UrlCase {
  std::string in;
  std::string out;
};

class UrlEncoding : public testing::TestWithParam<UrlCase> {};

TEST_P(UrlEncoding, EncodesFormStyle) { EXPECT_EQ(Utils::UrlEncode(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(
    Bytes, UrlEncoding,
    testing::Values(UrlCase{"a b&c=\xC3\xBC", "a+b&c=%C3%BC"},
                    UrlCase{"already%20encoded", "already%20encoded"},
                    UrlCase{"http://h/p?q=1&r=/+:", "http://h/p?q=1&r=/+:"},
                    UrlCase{std::string("nul\0in", 6), "nul%00in"},
                    UrlCase{"\t\x7F~!", "%09%7F~!"}, UrlCase{"", ""}));

TEST(UrlEncodingWide, GoesThroughUtf8) {
  EXPECT_EQ(Utils::UrlEncodeW(L"安装 x"), L"%E5%AE%89%E8%A3%85+x");
}

TEST(CodePages, EmptyAndEmbeddedNul) {
  for (unsigned cp : {0u, 65001u, 936u}) {
    EXPECT_EQ(Utils::ToWide("", cp), L"");
    EXPECT_EQ(Utils::ToNarrow(L"", cp), "");
    EXPECT_EQ(Utils::ToWide(std::string("ab\0cd", 5), cp), L"ab");
    EXPECT_EQ(Utils::ToNarrow(std::wstring(L"ab\0cd", 5), cp), "ab");
  }
}

TEST(CodePages, Utf8AndGbkRoundTrip) {
  const std::wstring text = L"安装包 Setup ü";
  EXPECT_EQ(Utils::ToNarrow(L"安装", 65001), "\xE5\xAE\x89\xE8\xA3\x85");
  EXPECT_EQ(Utils::ToWide(Utils::ToNarrow(text, 65001), 65001), text);
  EXPECT_EQ(Utils::ToNarrow(L"安装", 936), "\xB0\xB2\xD7\xB0");
  EXPECT_EQ(Utils::ToWide("\xB0\xB2\xD7\xB0 ok", 936), L"安装 ok");
}

TEST(Guid, FormatsThirdGroupInLowerCase) {
  const uint8_t tail[8] = {0xAB, 0xCD, 0xEF, 0x01, 0x23, 0x45, 0x67, 0x89};
  EXPECT_EQ(Utils::FormatGuid(0xDEADBEEF, 0xCAFE, 0xBEEF, tail), L"DEADBEEFCAFEbeefABCDEF0123456789");
  const uint8_t zeros[8] = {};
  EXPECT_EQ(Utils::FormatGuid(1, 2, 3, zeros), L"00000001000200030000000000000000");
}

struct DigestCase {
  std::string url;
  std::string segment;
};

class DigestSegment : public testing::TestWithParam<DigestCase> {};

TEST_P(DigestSegment, IsTheSegmentBeforeTheLastSlash) {
  EXPECT_EQ(Utils::UrlDigestSegment(GetParam().url), GetParam().segment);
}

INSTANTIATE_TEST_SUITE_P(
    Urls, DigestSegment,
    testing::Values(
        DigestCase{"http://h/files/0123456789abcdef0123456789abcdef/setup.exe",
                   "0123456789abcdef0123456789abcdef"},
        DigestCase{"setup.exe", ""}, DigestCase{"/setup.exe", ""}, DigestCase{"", ""},
        DigestCase{"http://h/files/abc/", "abc"}, DigestCase{"a//b", ""}));

}  // namespace
