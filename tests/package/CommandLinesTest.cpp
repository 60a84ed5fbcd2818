#include <gtest/gtest.h>

#include <algorithm>

#include "package/CommandLines.h"
#include "utils/CommandLine.h"

namespace {

TEST(UninstallCommandLine, QuotesTheCopyAndKeepsTheOldFolderLastAndBare) {
  EXPECT_EQ(UninstallCommandLine(L"C:\\Users\\A B\\AppData\\Local\\Temp\\~Z\\\\Quorvane_un_asa.exe",
                                 {true, true}, L"C:\\Program Files\\Vellisto"),
            L"\"C:\\Users\\A B\\AppData\\Local\\Temp\\~Z\\\\Quorvane_un_asa.exe\" /S -adminact=true "
            L"-authorizationact=true -console=show _?=C:\\Program Files\\Vellisto");
  EXPECT_EQ(UninstallCommandLine(L"u.exe", {false, true}, L"D:\\old"),
            L"\"u.exe\" /S -adminact=false -authorizationact=true -console=show _?=D:\\old");
}

TEST(PackageCommandLine, PassesTheChoicesInOrder) {
  PackageRunOptions quick;
  quick.installFolder = L"C:\\Apps";
  EXPECT_EQ(PackageCommandLine(L"\"C:\\Apps\\__Package_Quorvane.exe\"", quick),
            L"\"C:\\Apps\\__Package_Quorvane.exe\" /S -console=show -version=1.0.0 -adminact=true "
            L"-authorizationact=true -dsc=true -ssc=true -instdir=\"C:\\Apps\" /D=C:\\Apps");

  PackageRunOptions custom;
  custom.installFolder = L"D:\\My Apps\\V";
  custom.desktopShortcut = false;
  custom.quickLaunch = false;
  custom.consoleUserIsAdmin = false;
  custom.instCmd = L"-channel=7 -silentstart";
  EXPECT_EQ(PackageCommandLine(L"\"p.exe\"", custom),
            L"\"p.exe\" /S -console=show -version=1.0.0 -adminact=false -authorizationact=true "
            L"-dsc=false -ssc=false -channel=7 -silentstart -instdir=\"D:\\My Apps\\V\" "
            L"/D=D:\\My Apps\\V");

  PackageRunOptions noFolder;
  noFolder.installFolder.clear();
  EXPECT_EQ(PackageCommandLine(L"\"p.exe\"", noFolder),
            L"\"p.exe\" /S -console=show -version=1.0.0 -adminact=true -authorizationact=true "
            L"-dsc=true -ssc=true");
}

// The package's C runtime must read back the very folder: a trailing
// backslash before the closing quote would otherwise escape it.
TEST(PackageCommandLine, TheChildReadsTheFolderBackAfterInstdir) {
  const std::wstring folders[] = {L"C:\\Apps\\",          L"C:\\Program Files (x86)\\Quorvane",
                                  L"C:\\My Apps\\\\",       L"\\\\server\\share\\",
                                  L"C:\\odd\\\"name\\\"\\x", L"D:\\"};
  for (const std::wstring& folder : folders) {
    PackageRunOptions options;
    options.installFolder = folder;
    const auto args = Utils::SplitCommandLine(PackageCommandLine(L"\"C:\\p.exe\"", options));
    const auto instdir = std::find_if(args.begin(), args.end(), [](const std::wstring& arg) {
      return arg.rfind(L"-instdir=", 0) == 0;
    });
    ASSERT_NE(instdir, args.end());
    EXPECT_EQ(*instdir, L"-instdir=" + folder);
  }
  PackageRunOptions trailing;
  trailing.installFolder = L"C:\\Apps\\";
  EXPECT_EQ(PackageCommandLine(L"\"p.exe\"", trailing),
            L"\"p.exe\" /S -console=show -version=1.0.0 -adminact=true -authorizationact=true "
            L"-dsc=true -ssc=true -instdir=\"C:\\Apps\\\\\" /D=C:\\Apps\\");
}

}  // namespace
