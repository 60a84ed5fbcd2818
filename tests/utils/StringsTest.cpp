#include <gtest/gtest.h>

#include "utils/OsVersion.h"
#include "utils/Encoding.h"
#include "utils/Strings.h"

namespace {

TEST(ReplaceAll, ReplacesEveryOccurrence) {
  EXPECT_EQ(Utils::ReplaceAll(L"http://h/${ROUTE}/x/${ROUTE}", L"${ROUTE}", L"download_silent"),
            L"http://h/download_silent/x/download_silent");
  EXPECT_EQ(Utils::ReplaceAll(L"none here", L"${ROUTE}", L"r"), L"none here");
  EXPECT_EQ(Utils::ReplaceAll(L"aaa", L"a", L"b"), L"bbb");
  EXPECT_EQ(Utils::ReplaceAll(L"abc", L"", L"x"), L"abc");
}

struct VersionCase {
  uint32_t major, minor, build;
  bool serverR2;
  const wchar_t* name;
};

TEST(IsWebUrl, OnlyHttpAndHttpsWithSomethingAfterTheScheme) {
  const std::pair<const wchar_t*, bool> cases[] = {
      {L"https://vellisto.example/welcome", true}, {L"HTTP://x", true},
      {L"http://", false},                         {L"file:///C:/Windows/System32/cmd.exe", false},
      {L"C:\\Windows\\System32\\cmd.exe", false}, {L"javascript:alert(1)", false},
      {L"ms-settings:", false},                    {L"", false},
      {L" https://x", false}};
  for (const auto& [url, web] : cases) EXPECT_EQ(Utils::IsWebUrl(url), web) << Utils::ToNarrow(url, 65001);
}

TEST(OSVersionName, Table) {
  const VersionCase cases[] = {
      {0, 0, 0, false, L"XP-"},       {4, 9, 0, false, L"XP-"},
      {5, 0, 0, false, L"2K"},        {5, 1, 2600, false, L"XP"},
      {5, 2, 0, false, L"Server 2003"}, {5, 2, 0, true, L"Server 2003 R2"},
      {5, 3, 0, false, L"XP+"},       {6, 0, 0, false, L"Vista"},
      {6, 1, 7601, false, L"7"},      {6, 2, 0, false, L"8"},
      {6, 3, 0, false, L"8.1"},       {6, 4, 0, false, L"8.1+"},
      {10, 0, 22631, false, L"10"},   {10, 1, 0, false, L"10+"},
      {11, 0, 22000, false, L"11.0.22000"}, {7, 2, 0x12345, false, L"7.2.9029"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Utils::OSVersionNameFor(c.major, c.minor, c.build, c.serverR2), c.name)
        << c.major << "." << c.minor;
  }
}

}  // namespace
