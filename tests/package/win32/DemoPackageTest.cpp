// The demo product's real package and uninstaller, driven by the installer's
// own runners as an install and an upgrade would drive them.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "package/PackageRunner.h"
#include "package/UninstallRunner.h"
#include "tests/package/StatusLog.h"
#include "tests/support/TestFiles.h"
#include "utils/Encoding.h"
#include "utils/Folders.h"

namespace {

std::wstring KnownFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, csidl, nullptr, 0, path);
  return path;
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

const Status* Find(const std::vector<Status>& codes, int code) {
  for (const Status& s : codes) {
    if (s.code == code) return &s;
  }
  return nullptr;
}

TEST(DemoPackage, InstallsIntoAFolderWithBlanksAndChineseAndUninstallsAgain) {
  TestSupport::ScratchFolder scratch(L"demo");
  const std::wstring package = scratch / L"__Package_Quorvane.exe";
  ASSERT_TRUE(TestSupport::CopyFileTo(TestSupport::ProgramFolder() + L"..\\demo\\QuorvaneSetupPackage.exe",
                                      package));
  const std::wstring folder = scratch / L"Program Files\\录屏 Vellisto";
  const std::wstring desktopLink = KnownFolder(CSIDL_DESKTOPDIRECTORY) + L"\\Vellisto.lnk";
  const std::wstring quickLink =
      KnownFolder(CSIDL_APPDATA) + L"\\Microsoft\\Internet Explorer\\Quick Launch\\Vellisto.lnk";

  StatusLog install;
  std::wstring line;
  {
    CPackageRunner runner(install.Callback(), L"\"" + package + L"\"", folder);
    PackageRunOptions options;
    options.installFolder = folder;
    options.instCmd = L"-channel=test";
    runner.SetOptions(options);
    runner.Start({});
    line = runner.CommandLine();
  }
  const auto codes = install.Entries();
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.back(), (Status{IST_CODE_SUCCESS, 0, L""}));
  ASSERT_NE(Find(codes, IST_INFO_INST_PATH), nullptr);
  EXPECT_EQ(Find(codes, IST_INFO_INST_PATH)->text, folder);
  ASSERT_NE(Find(codes, IST_INFO_EXE_PATH), nullptr);
  EXPECT_EQ(Find(codes, IST_INFO_EXE_PATH)->text, folder + L"\\Quorvane.exe");
  ASSERT_NE(Find(codes, IST_INFO_UNINST_EP), nullptr);
  EXPECT_EQ(Find(codes, IST_INFO_UNINST_EP)->text, folder + L"\\uninst.ep");
  ASSERT_NE(Find(codes, IST_INFO_STARTUP_STYLE), nullptr);
  EXPECT_EQ(Find(codes, IST_INFO_STARTUP_STYLE)->value, 2);
  std::vector<double> progress;
  for (const Status& s : codes) {
    if (s.code == IST_CODE_PROGRESS) progress.push_back(s.value);
  }
  ASSERT_GE(progress.size(), 3u);
  EXPECT_EQ(progress.back(), 1.0);

  for (const wchar_t* name : {L"\\Quorvane.exe", L"\\uninst.ep", L"\\welcome-clip.vmedia"}) {
    EXPECT_TRUE(Utils::PathExists(folder + name)) << Utils::ToNarrow(name, 65001);
  }
  EXPECT_EQ(ReadFile(folder + L"\\install.log"), Utils::ToNarrow(line + L"\n", 65001));
  EXPECT_TRUE(Utils::PathExists(desktopLink));
  EXPECT_TRUE(Utils::PathExists(quickLink));

  // An upgrade's first step: the recorded uninstaller, copied elsewhere, run as such.
  const std::wstring copy = scratch / L"Quorvane_un_asa.exe";
  ASSERT_TRUE(TestSupport::CopyFileTo(folder + L"\\uninst.ep", copy));
  StatusLog uninstall;
  {
    CUninstallRunner runner(uninstall.Callback(), copy, folder);
    runner.Start({});
  }
  const auto removal = uninstall.Entries();
  ASSERT_GE(removal.size(), 2u);
  EXPECT_EQ(removal.front(), (Status{UNIST_CODE_PROGRESS, 0, L""}));
  EXPECT_EQ(removal.back(), (Status{UNIST_CODE_SUCCESS, 0, L""}));
  EXPECT_FALSE(Utils::PathExists(folder));
  EXPECT_FALSE(Utils::PathExists(desktopLink));
  EXPECT_FALSE(Utils::PathExists(quickLink));
}

TEST(DemoPackage, ReportsAnErrorWhenTheFolderCannotBeMade) {
  TestSupport::ScratchFolder scratch(L"demo-fail");
  const std::wstring package = scratch / L"__Package_Quorvane.exe";
  ASSERT_TRUE(TestSupport::CopyFileTo(TestSupport::ProgramFolder() + L"..\\demo\\QuorvaneSetupPackage.exe",
                                      package));
  TestSupport::WriteFile(scratch / L"blocker", "a file where the folder should go");
  StatusLog install;
  {
    CPackageRunner runner(install.Callback(), L"\"" + package + L"\"", L"");
    PackageRunOptions options;
    options.installFolder = scratch / L"blocker\\Vellisto";
    options.desktopShortcut = options.quickLaunch = false;
    runner.SetOptions(options);
    runner.Start({});
  }
  const auto codes = install.Entries();
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.back().code, IST_CODE_FAIL);
  EXPECT_EQ(codes.back().value, 1000.0);
  EXPECT_NE(codes.back().text.find(L"cannot create the folder"), std::wstring::npos);
}

TEST(DemoPackage, IsAtLeastOneMebibyte) {
  std::error_code error;
  EXPECT_GE(std::filesystem::file_size(
                TestSupport::FsPath(TestSupport::ProgramFolder() + L"..\\demo\\QuorvaneSetupPackage.exe"), error),
            1048576u);
}

}  // namespace
