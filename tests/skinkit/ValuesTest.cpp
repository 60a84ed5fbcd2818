#include <gtest/gtest.h>

#include "skinkit/Values.h"

namespace SkinKit {
namespace {

TEST(SkinValues, RectanglesReadOneSeparatorBetweenNumbers) {
  const struct {
    const wchar_t* text;
    Rect expected;
  } cases[] = {
      {L"1,2,3,4", {1, 2, 3, 4}},
      {L"-5,0,600,-35", {-5, 0, 600, -35}},
      {L"10, 20,30,40", {10, 20, 30, 40}},  // wcstol skips the blank after the comma
      {L"0,0,0,65", {0, 0, 0, 65}},
      // Missing numbers at the end are 0, and the reader never passes the text's end.
      {L"7", {7, 0, 0, 0}},
      {L"7,8", {7, 8, 0, 0}},
      {L"", {0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ParseRect(c.text), c.expected) << c.text;
  }
  const Size size = ParseSize(L"600,400");
  EXPECT_EQ(size.cx, 600);
  EXPECT_EQ(size.cy, 400);
  EXPECT_EQ(ParseSize(L"2").cy, 0);
}

TEST(SkinValues, ColoursAreHexadecimalArgb) {
  EXPECT_EQ(ParseColor(L"#26003B76"), 0x26003B76u);
  EXPECT_EQ(ParseColor(L"0xFF102030"), 0xFF102030u);
  EXPECT_EQ(ParseColor(L"#00000000"), 0u);
  EXPECT_EQ(ParseColor(L"FFFFFFFF"), 0xFFFFFFFFu);
}

TEST(SkinValues, OnlyTheExactTextTrueIsTrue) {
  EXPECT_TRUE(ParseBool(L"true"));
  for (const wchar_t* text : {L"TRUE", L"True", L"1", L"yes", L"", L" true"}) {
    EXPECT_FALSE(ParseBool(text)) << text;
  }
}

TEST(SkinValues, NamesCompareWithoutCase) {
  EXPECT_TRUE(EqualsNoCase(L"MainWnd.xml", L"mainWnd.XML"));
  EXPECT_FALSE(EqualsNoCase(L"mainWnd.xml", L"mainWnd.xm"));
  EXPECT_FALSE(EqualsNoCase(L"a", L"b"));
}

}  // namespace
}  // namespace SkinKit
