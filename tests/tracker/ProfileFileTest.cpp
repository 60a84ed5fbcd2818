#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/TestFiles.h"
#include "tracker/ProfileFile.h"
#include "utils/Encoding.h"

namespace {

namespace profile = zorvik::tracking::profile;

class ProfileFile : public testing::Test {
 protected:
  TestSupport::ScratchFolder folder_{L"ini"};
  std::string path_ = Utils::ToNarrow(folder_ / L"p.ini", Utils::kCodePageAnsi);
};

TEST_F(ProfileFile, WritesThenReadsBackAcrossSectionsWithoutCase) {
  EXPECT_FALSE(profile::FileExists(path_));
  profile::WriteString(path_, "Base", "DistinctId", "ABC");
  profile::WriteString(path_, "UninstallInfo", "AppName", "Quorvane");
  profile::WriteString(path_, "Base", "UserVipLevel", "7");
  profile::WriteString(path_, "base", "distinctid", "XYZ");
  EXPECT_TRUE(profile::FileExists(path_));
  EXPECT_EQ(profile::ReadString(path_, "BASE", "DISTINCTID"), "XYZ");
  EXPECT_EQ(profile::ReadString(path_, "UninstallInfo", "AppName"), "Quorvane");
  EXPECT_EQ(profile::ReadInt(path_, "Base", "UserVipLevel", 0), 7);
  EXPECT_EQ(profile::ReadInt(path_, "Base", "Missing", 42), 42);
  EXPECT_EQ(profile::ReadString(path_, "Base", "Missing"), "");
  EXPECT_EQ(profile::ReadString(path_, "Other", "AppName"), "");
}

TEST_F(ProfileFile, ReadsFilesWrittenByOthersAndCutsLongValues) {
  TestSupport::WriteFile(folder_ / L"p.ini",
                         "; comment\r\n[Install]\r\n  ZKAnalyticsIni = D:/data/app/id.ini  \r\n"
                         "Long=" + std::string(200, 'v') + "\r\nNumber=12abc\r\n[Next]\r\nLong=x\r\n");
  EXPECT_EQ(profile::ReadString(path_, "Install", "ZKAnalyticsIni"), "D:/data/app/id.ini");
  EXPECT_EQ(profile::ReadString(path_, "Install", "Long"), std::string(127, 'v'));
  EXPECT_EQ(profile::ReadInt(path_, "Install", "Number", 0), 12);
  profile::WriteString(path_, "Install", "Added", "1");
  EXPECT_EQ(profile::ReadString(path_, "Install", "Added"), "1");
  EXPECT_EQ(profile::ReadString(path_, "Next", "Long"), "x");
  EXPECT_EQ(profile::ReadString(path_, "Install", "ZKAnalyticsIni"), "D:/data/app/id.ini");
}

TEST_F(ProfileFile, AFolderThatDoesNotExistIsIgnored) {
  const std::string missing = Utils::ToNarrow(folder_ / L"none", Utils::kCodePageAnsi) + "/x.ini";
  profile::WriteString(missing, "Base", "Key", "v");
  EXPECT_FALSE(profile::FileExists(missing));
  EXPECT_EQ(profile::ReadString(missing, "Base", "Key"), "");
}

}  // namespace
