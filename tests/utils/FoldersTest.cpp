#include <gtest/gtest.h>

#include "tests/support/OsFailures.h"
#include "tests/support/TestFiles.h"
#include "utils/Folders.h"
#include "utils/Log.h"

namespace {

const std::wstring kSep(1, Utils::kPathSeparator);

TEST(CreateDirectories, CreatesEveryLevel) {
  TestSupport::ScratchFolder scratch(L"dirs");
  const std::wstring trailing = scratch / (L"a" + kSep + L"b c" + kSep + L"安装" + kSep);
  EXPECT_TRUE(Utils::CreateDirectories(trailing));
  EXPECT_TRUE(Utils::PathExists(trailing));
  const std::wstring bare = scratch / (L"x" + kSep + L"y");
  EXPECT_TRUE(Utils::CreateDirectories(bare));
  EXPECT_TRUE(Utils::PathExists(bare));
  EXPECT_TRUE(Utils::CreateDirectories(bare));  // already there
}

TEST(CreateDirectories, RefusesLongPathsWithoutCreatingAnything) {
  TestSupport::ScratchFolder scratch(L"long");
  const std::wstring first = scratch / L"first";
  std::wstring path = first + kSep;
  path += std::wstring(261 - path.size(), L'z');
  ASSERT_EQ(path.size(), 261u);
  EXPECT_FALSE(Utils::CreateDirectories(path));
  EXPECT_FALSE(Utils::PathExists(first));
}

TEST(CreateDirectories, FailsWhereALevelIsAFileAndSaysWhy) {
  TestSupport::ScratchFolder scratch(L"file");
  TestSupport::WriteFile(scratch / L"f", "x");
  Utils::DebugLogCapture capture;
  EXPECT_FALSE(Utils::CreateDirectories(scratch / (L"f" + kSep + L"sub")));
  // Which level fails, and with which number, is the system's to say.
  const auto lines = capture.LinesContaining(std::wstring(TestSupport::kMakeFolderCall) + L" [" + (scratch / L"f"));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_NE(lines[0].find(L"] failed (error "), std::wstring::npos);
}

TEST(TempWorkDir, IsCreatedAndEndsInASeparator) {
  const std::wstring dir = Utils::GetTempWorkDir();
  ASSERT_FALSE(dir.empty());
  EXPECT_EQ(dir.back(), Utils::kPathSeparator);
  EXPECT_NE(dir.find(Utils::kTempWorkFolderName), std::wstring::npos);
  EXPECT_TRUE(Utils::PathExists(dir));
  EXPECT_EQ(Utils::GetTempWorkDir(), dir);
}

}  // namespace
