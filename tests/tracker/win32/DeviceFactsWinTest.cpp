#include "tests/support/Regex.h"  // first: see there

#include <gtest/gtest.h>

#include <string>

#include "tracker/DeviceInfo.h"
#include "tracker/Platform.h"
#include "utils/Encoding.h"
#include "utils/Folders.h"

namespace {

using namespace zorvik::tracking;

TEST(WindowsDeviceFacts, KernelVersionBitnessAndUserAgentAgree) {
  const platform::VersionNumbers version = platform::QueryVersionNumbers();
  ASSERT_TRUE(version.ok);
  EXPECT_GE(version.major, 6u);
  EXPECT_LE(version.build, 0xFFFFu);
  // The 64-bit twin runs on 64-bit Windows only.
  EXPECT_TRUE(platform::Is64BitWindows());
  const OsFacts os = QueryOsFacts();
  EXPECT_EQ(os.name, "Windows");
  EXPECT_EQ(os.versionName, VersionNameFor(version, true, platform::IsServerR2()));
  EXPECT_EQ(UserAgent(), "Mozilla/5.0(Windows " + os.versionName + "; Win64;)");
}

TEST(WindowsDeviceFacts, GuidScreenAndLocale) {
  platform::GuidValue guid;
  ASSERT_TRUE(platform::CreateGuid(guid));
  EXPECT_TRUE(std::regex_match(FormatGuidText(guid),
                               std::regex("[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}")));
  const platform::ScreenSize screen = platform::QueryScreenSize();
  EXPECT_GT(screen.width, 0);
  EXPECT_GT(screen.height, 0);
  std::string language, country;
  ASSERT_TRUE(platform::QueryUserLocale(language, country));
  // The test prefix runs with LANG=zh_CN.UTF-8.
  EXPECT_EQ(language, "zh");
  EXPECT_EQ(country, "CN");
}

TEST(WindowsDeviceFacts, FoldersForTheIdentity) {
  const std::string exe = platform::ExecutableFolder();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(exe.back(), '\\');
  EXPECT_TRUE(Utils::PathExists(Utils::ToWide(exe + "tracker_win32_tests.exe", Utils::kCodePageAnsi)));
  const std::string base = platform::UserDataBaseFolder(platform::QueryVersionNumbers());
  ASSERT_FALSE(base.empty());
  EXPECT_TRUE(Utils::PathExists(Utils::ToWide(base, Utils::kCodePageAnsi))) << base;
  EXPECT_EQ(base.find(' '), std::string::npos) << "the short form has no blanks: " << base;
}

}  // namespace
