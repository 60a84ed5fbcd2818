#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "utils/Log.h"
#include "utils/win32/SystemQueries.h"

namespace {

TEST(CheckFreeSpace, FillsTheCountsForADrive) {
  Utils::HardDiskManager disk;
  ASSERT_TRUE(disk.CheckFreeSpace(L"C:"));
  EXPECT_GT(disk.TotalBytes(), 0u);
  EXPECT_LE(disk.FreeBytesAvailable(), disk.TotalBytes());
}

TEST(CheckFreeSpace, AFailureIsLoggedAndLeavesTheCounts) {
  Utils::DebugLogCapture capture;
  Utils::HardDiskManager disk;
  EXPECT_FALSE(disk.CheckFreeSpace(L"Q:\\no\\such\\folder"));
  EXPECT_EQ(disk.TotalBytes(), 0u);
  const auto lines = capture.LinesContaining(L"HardDiskManager::CheckFreeSpace FAIL code=");
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(L"(Utils::HardDiskManager::CheckFreeSpace)"), std::wstring::npos);
  EXPECT_EQ(lines[0].substr(lines[0].size() - 2), L"\r\n");
}

TEST(CheckNetwork, GivesConnectivityAndAKnownReason) {
  ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
  const int32_t result = Utils::CheckNetwork();
  CoUninitialize();
  const int32_t reason = result >> 16;
  EXPECT_TRUE(reason == 0 || reason == 1 || reason == 2) << result;
  if (reason == 1) {
    EXPECT_EQ(result & 0xFFFF, 0);
  }
}

TEST(Accounts, TheTestUserIsAnAdministratorConsoleUser) {
  EXPECT_TRUE(Utils::IsCurrentUserAdmin());
  std::wstring name;
  ASSERT_TRUE(Utils::GetConsoleUserName(name));
  EXPECT_FALSE(name.empty());
  EXPECT_FALSE(Utils::IsAdminAccount(L"no-such-account-here"));
}

}  // namespace
