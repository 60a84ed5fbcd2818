#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>
#include <set>

#include "utils/Encoding.h"
#include "utils/OsVersion.h"

namespace {

// The test prefix runs with the Chinese locale of this product's users.
TEST(AnsiCodePage, IsGbkAndCodePageZeroFollowsIt) {
  EXPECT_EQ(GetACP(), 936u);
  EXPECT_EQ(Utils::ToNarrow(L"中文", Utils::kCodePageAnsi), "\xD6\xD0\xCE\xC4");
  EXPECT_EQ(Utils::ToWide("\xD6\xD0\xCE\xC4", Utils::kCodePageAnsi), L"中文");
}

TEST(NewGuidString, ThirtyTwoDigitsWithALowerCaseThirdGroup) {
  std::set<std::wstring> seen;
  for (int i = 0; i < 20; ++i) {
    const std::wstring id = Utils::NewGuidString();
    ASSERT_EQ(id.size(), 32u);
    for (size_t k = 0; k < id.size(); ++k) {
      const wchar_t c = id[k];
      const bool lowerGroup = k >= 12 && k < 16;
      EXPECT_TRUE(std::iswdigit(c) || (lowerGroup ? (c >= L'a' && c <= L'f') : (c >= L'A' && c <= L'F')))
          << k;
    }
    seen.insert(id);
  }
  EXPECT_EQ(seen.size(), 20u);
}

TEST(OSVersionName, NamesTheRunningSystem) {
  std::wstring product, version;
  Utils::GetOSVersionName(product, version);
  EXPECT_EQ(product, L"Windows");
  // The project's wine prefix reports Windows 7 (6.1.7601).
  EXPECT_EQ(version, L"7");
}

}  // namespace
