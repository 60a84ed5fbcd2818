// Deletions tried again while a file is held. The pauses between attempts are
// counted by a sleeper that waits for none of them.
#include <gtest/gtest.h>

#include <vector>

#include "tests/support/CountingSleeper.h"
#include "tests/support/TestFiles.h"
#include "utils/File.h"
#include "utils/FileRemoval.h"
#include "utils/Folders.h"

namespace {

#ifdef _WIN32
// A handle that does not share deletion keeps the file; so does a program
// running from it. A folder in the file's place is answered "access denied",
// which cannot be told from a program still ending.
constexpr bool kWindows = true;
#else
// unlink takes the name of an open file; a folder it refuses for good.
constexpr bool kWindows = false;
#endif

constexpr unsigned kPauseMs = 100;

class FileRemoval : public testing::Test {
 protected:
  TestSupport::ScratchFolder folder_{L"removal 删除"};
  std::wstring file_ = folder_ / L"package.exe";
};

TEST_F(FileRemoval, WhatIsNotThereOrNotHeldGoesWithoutAPause) {
  TestSupport::WriteFile(file_, "package");
  TestSupport::WriteFile(folder_ / L"level", "a file, no folder");
  const std::wstring sep(1, Utils::kPathSeparator);
  TestSupport::CountingSleeper sleeper;
  for (const std::wstring& path : {file_, folder_ / L"missing", folder_ / (L"no folder" + sep + L"f"),
                                   folder_ / (L"level" + sep + L"f")}) {
    EXPECT_TRUE(Utils::RemoveFileRetrying(path, 5, kPauseMs)) << path.c_str();
    EXPECT_FALSE(Utils::PathExists(path));
  }
  EXPECT_TRUE(sleeper.Pauses().empty());
}

TEST_F(FileRemoval, AHeldFileGoesOnceItIsLetGo) {
  for (size_t letGoAfter : {1u, 3u}) {
    SCOPED_TRACE(letGoAfter);
    TestSupport::WriteFile(file_, "package");
    Utils::File held = Utils::File::Open(file_, Utils::File::Mode::kReadHeld);
    ASSERT_TRUE(held.IsOpen());
    TestSupport::CountingSleeper sleeper([&](size_t number, unsigned, const std::atomic<bool>*) {
      if (number == letGoAfter) held = Utils::File();
    });
    EXPECT_TRUE(Utils::RemoveFileRetrying(file_, 5, kPauseMs));
    EXPECT_FALSE(Utils::PathExists(file_));
    EXPECT_EQ(sleeper.Pauses(), std::vector<unsigned>(kWindows ? letGoAfter : 0, kPauseMs));
  }
}

#ifdef _WIN32
TEST_F(FileRemoval, AFileHeldThroughEveryAttemptStays) {
  TestSupport::WriteFile(file_, "package");
  const Utils::File held = Utils::File::Open(file_, Utils::File::Mode::kReadHeld);
  ASSERT_TRUE(held.IsOpen());
  TestSupport::CountingSleeper sleeper;
  EXPECT_FALSE(Utils::RemoveFileRetrying(file_, 4, kPauseMs));
  EXPECT_TRUE(Utils::PathExists(file_));
  EXPECT_EQ(sleeper.Pauses(), std::vector<unsigned>(3, kPauseMs));  // none after the last attempt
}
#endif

TEST_F(FileRemoval, AFolderInTheFilesPlaceStays) {
  ASSERT_TRUE(Utils::MakeDirectory(file_));
  TestSupport::CountingSleeper sleeper;
  EXPECT_FALSE(Utils::RemoveFileRetrying(file_, 3, kPauseMs));
  EXPECT_TRUE(Utils::PathExists(file_));
  EXPECT_EQ(sleeper.Pauses(), std::vector<unsigned>(kWindows ? 2 : 0, kPauseMs));
}

}  // namespace
