#include <gtest/gtest.h>

#include "tests/support/OsFailures.h"
#include "tests/support/TestFiles.h"
#include "utils/Folders.h"
#include "utils/Log.h"
#include "utils/ProtectedFolder.h"

#ifndef _WIN32
#include <sys/stat.h>

#include "utils/Encoding.h"
#endif

namespace {

TEST(ProtectedFolder, EachIsNewAndGoesWithWhatItHolds) {
  TestSupport::ScratchFolder root(L"protected 目录");
  auto first = Utils::ProtectedFolder::Create(root.Path());
  auto second = Utils::ProtectedFolder::Create(root.Path());
  ASSERT_TRUE(first && second);
  EXPECT_NE(first->Path(), second->Path());
  EXPECT_EQ(first->Path().rfind(root.Path(), 0), 0u);
  EXPECT_TRUE(Utils::PathExists(first->Path()));

  const std::wstring inner = first->Path() + Utils::kPathSeparator + L"inner";
  ASSERT_TRUE(Utils::MakeDirectory(inner));
  TestSupport::WriteFile(inner + Utils::kPathSeparator + L"part", "x");
  TestSupport::WriteFile(first->Path() + Utils::kPathSeparator + L"__Package_Quorvane.exe", "MZ");
  EXPECT_TRUE(first->Remove());
  EXPECT_FALSE(Utils::PathExists(first->Path()));
  EXPECT_TRUE(first->Remove());  // once gone, it stays done

  const std::wstring path = second->Path();
  second.reset();
  EXPECT_FALSE(Utils::PathExists(path));
}

TEST(ProtectedFolder, NoParentNoFolder) {
  TestSupport::ScratchFolder root(L"protected");
  Utils::DebugLogCapture capture;
  EXPECT_EQ(Utils::ProtectedFolder::Create(root / L"missing"), nullptr);
  // The call that failed, where, and its error number.
  EXPECT_EQ(capture.LinesContaining(std::wstring(TestSupport::kMakeFolderCall) + L" [" + (root / L"missing") +
                                    Utils::kPathSeparator + L"Quorvane-")
                .size(),
            1u);
  EXPECT_EQ(capture.LinesContaining(TestSupport::FailedWith(TestSupport::kErrorNoSuchFolder)).size(), 1u);
  EXPECT_EQ(Utils::ProtectedFolder::Create(L""), nullptr);
}

// What somebody made first is never taken over.
TEST(ProtectedFolder, AnExistingNameIsRefused) {
  TestSupport::ScratchFolder root(L"protected");
  using Utils::detail::MadeFolder;
  EXPECT_EQ(Utils::detail::MakeFolderForAdministrators(root / L"new"), MadeFolder::kMade);
  EXPECT_EQ(Utils::detail::MakeFolderForAdministrators(root / L"new"), MadeFolder::kExists);
  TestSupport::WriteFile(root / L"file", "");
  EXPECT_EQ(Utils::detail::MakeFolderForAdministrators(root / L"file"), MadeFolder::kExists);
  EXPECT_EQ(Utils::detail::MakeFolderForAdministrators(root / L"missing" + Utils::kPathSeparator + L"new"),
            MadeFolder::kFailed);
}

#ifndef _WIN32
TEST(ProtectedFolder, OnlyItsOwnerMayEnter) {
  TestSupport::ScratchFolder root(L"protected");
  const auto folder = Utils::ProtectedFolder::Create(root.Path());
  ASSERT_TRUE(folder);
  struct stat info {};
  ASSERT_EQ(stat(Utils::ToNarrow(folder->Path(), Utils::kCodePageUtf8).c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
}
#endif

}  // namespace
