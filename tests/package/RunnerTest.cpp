// Both runners against real child processes that play scripts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "package/AccountFacts.h"
#include "package/PackageRunner.h"
#include "package/UninstallRunner.h"
#include "tests/package/StatusLog.h"
#include "tests/support/OsFailures.h"
#include "tests/support/TestFiles.h"
#include "utils/CommandLine.h"
#include "utils/Encoding.h"
#include "utils/File.h"
#include "utils/Folders.h"
#include "utils/Log.h"

namespace {


class Runners : public testing::Test {
 protected:
  // Puts the scripted child at `name` in the scratch folder with `script` beside it.
  std::wstring Child(const std::wstring& name, const std::string& script) {
    const std::wstring path = folder_ / name;
    EXPECT_TRUE(TestSupport::CopyFileTo(TestSupport::SiblingProgram(L"scripted-child"), path));
    TestSupport::WriteFile(path + L".script", script);
    return path;
  }

  static std::string Recorded(const std::wstring& child) {
    std::ifstream in(TestSupport::FsPath(child + L".cmdline"), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  // The raw line on Windows; elsewhere the child saw the line's arguments.
  static void ExpectChildSaw(const std::wstring& child, const std::wstring& line) {
#ifdef _WIN32
    EXPECT_EQ(Recorded(child), Utils::ToNarrow(line, Utils::kCodePageUtf8));
#else
    std::string expected;
    for (const auto& arg : Utils::SplitCommandLineLikeWindows(line)) {
      expected += Utils::ToNarrow(arg, Utils::kCodePageUtf8) + "\n";
    }
    EXPECT_EQ(Recorded(child), expected);
#endif
  }

  std::vector<Status> Uninstall(const std::wstring& uninstaller, const std::wstring& oldFolder,
                                std::wstring* commandLine = nullptr) {
    StatusLog log;
    {
      CUninstallRunner runner(log.Callback(), uninstaller, oldFolder);
      runner.Start({});
      if (commandLine != nullptr) *commandLine = runner.CommandLine();
    }  // teardown joins the worker: every code has arrived
    return log.Entries();
  }

  std::vector<Status> Install(const std::wstring& package, const PackageRunOptions& options,
                              std::wstring* commandLine = nullptr, Utils::File image = {}) {
    StatusLog log;
    {
      CPackageRunner runner(log.Callback(), L"\"" + package + L"\"", options.installFolder);
      runner.SetOptions(options);
      runner.Start(std::move(image));
      if (commandLine != nullptr) *commandLine = runner.CommandLine();
    }
    return log.Entries();
  }

  TestSupport::ScratchFolder folder_{L"run 安装 目录"};
};

const std::vector<Status> kInstallBegins = {{2001, 0, L""}, {2002, 0, L""}};

std::vector<Status> InstallCodes(std::vector<Status> rest) {
  std::vector<Status> all = kInstallBegins;
  all.insert(all.end(), rest.begin(), rest.end());
  return all;
}

// A script step that writes `bytes` in one write.
std::string WriteStep(const std::string& bytes) {
  std::string step = "write ";
  for (const char c : bytes) {
    if (c == '\\') {
      step += "\\\\";
    } else if (c == '\n') {
      step += "\\n";
    } else if (c == '\r') {
      step += "\\r";
    } else {
      step += c;
    }
  }
  return step + "\n";
}

// `count` Progress= lines of 14 bytes each, in one write: the line after them
// straddles byte 1024 for a count of 71 to 73.
struct ProgressBurst {
  std::string bytes;
  std::vector<Status> codes;
};

ProgressBurst Burst(int count) {
  ProgressBurst burst;
  for (int i = 0; i < count; ++i) {
    const int hundredths = i % 100;
    burst.bytes += "Progress=0." + std::string(hundredths < 10 ? "0" : "") +
                   std::to_string(hundredths) + "\n";
    burst.codes.push_back({2002, hundredths / 100.0, L""});
  }
  return burst;
}

TEST_F(Runners, UninstallerProgressAndSuccessInOneWrite) {
  const auto child = Child(L"Quorvane_un_asa.exe", "write Progress=50\\nState=Success\\n\nsleep 200\n");
  EXPECT_EQ(Uninstall(child, L"C:\\old"),
            (std::vector<Status>{{5002, 0, L""}, {5002, 50, L""}, {5003, 0, L""}}));
}

TEST_F(Runners, UninstallerWithoutOutcomeSucceedsWithValueOne) {
  const auto child = Child(L"Quorvane_un_asa.exe", "exit 3\n");
  EXPECT_EQ(Uninstall(child, L"C:\\old"), (std::vector<Status>{{5002, 0, L""}, {5003, 1, L""}}));
}

TEST_F(Runners, UninstallerErrorsAndUtf8Text) {
  const auto child =
      Child(L"Quorvane_un_asa.exe", "write Encode=UTF8\\n\nsleep 100\nwrite Error=\xE6\x96\x87\xE4\xBB\xB6\\n\n");
  EXPECT_EQ(Uninstall(child, L"C:\\old"), (std::vector<Status>{{5002, 0, L""}, {5005, 0, L"文件"}}));
}

TEST_F(Runners, UninstallerLastLineBeforeExitIsNotLost) {
  const auto child = Child(L"Quorvane_un_asa.exe", "write State=Success\\n\nexit 0\n");
  EXPECT_EQ(Uninstall(child, L"C:\\old"), (std::vector<Status>{{5002, 0, L""}, {5003, 0, L""}}));
}

// Each failure leaves one line that says why, beyond the code the window gets.
TEST_F(Runners, UninstallerThatIsMissingOrCannotStart) {
  Utils::DebugLogCapture capture;
  EXPECT_EQ(Uninstall(folder_ / L"missing.exe", L"C:\\old"),
            (std::vector<Status>{{5004, 1, L"可执行卸载文件不存在"}}));
  EXPECT_EQ(capture.LinesContaining(L"the uninstaller [" + (folder_ / L"missing.exe") + L"] is not there").size(),
            1u);
  EXPECT_EQ(Uninstall(L"", L"C:\\old"), (std::vector<Status>{{5004, 1, L"可执行卸载文件不存在"}}));
  TestSupport::WriteFile(folder_ / L"not-a-program.exe", "plain text, not a program");
  EXPECT_EQ(Uninstall(folder_ / L"not-a-program.exe", L"C:\\old"),
            (std::vector<Status>{{5002, 0, L""}, {5004, 2, L""}}));
  const auto ended = capture.LinesContaining(L"the uninstaller run ends: cannot start");
  ASSERT_EQ(ended.size(), 1u);
  EXPECT_NE(ended[0].find(std::wstring(TestSupport::kStartCall) +
                          TestSupport::FailedWith(TestSupport::kErrorNotAProgram)),
            std::wstring::npos)
      << Utils::ToNarrow(ended[0], Utils::kCodePageUtf8);
}

TEST_F(Runners, UninstallerCommandLine) {
  const auto child = Child(L"Quorvane_un_asa.exe", "record\n");
  const std::wstring oldFolder = L"C:\\Program Files\\Old Vellisto";
  std::wstring line;
  Uninstall(child, oldFolder, &line);
  const AccountFacts facts = CurrentAccountFacts();
  EXPECT_EQ(line, L"\"" + child + L"\" /S -adminact=" + (facts.consoleUserIsAdmin ? L"true" : L"false") +
                      L" -authorizationact=" + (facts.installerIsAdmin ? L"true" : L"false") +
                      L" -console=show _?=" + oldFolder);
  ExpectChildSaw(child, line);
}

TEST_F(Runners, PackageReportsItsFacts) {
  const auto package = Child(
      L"__Package_Quorvane.exe",
      "write Encode=UTF8\\n\nsleep 50\n"
      "write Progress=0.5\\nInstPath=C:\\\\V \xE5\xAE\x89\\r\\n\n"
      "write ExePath=C:\\\\V\\\\Quorvane.exe\\nUninstEp=C:\\\\V\\\\uninst.ep\\n"
      "StartupStyle=  AutoStartup \\r\\n\n"
      "write State=Success\\n\n");
  PackageRunOptions options;
  EXPECT_EQ(Install(package, options),
            InstallCodes({{2002, 0.5, L""},
                          {3000, 0, L"C:\\V 安"},
                          {3001, 0, L"C:\\V\\Quorvane.exe"},
                          {3003, 0, L"C:\\V\\uninst.ep"},
                          {3005, 1, L""},
                          {2003, 0, L""}}));
}

TEST_F(Runners, PackageLinesWrittenInABurstAreReadWhole) {
  ProgressBurst fail = Burst(73);
  fail.codes.push_back({2004, 0, L"安装包安装失败"});
  EXPECT_EQ(Install(Child(L"__Package_Quorvane.exe", WriteStep(fail.bytes + "State=Fail\n")), {}),
            InstallCodes(fail.codes));

  ProgressBurst path = Burst(71);
  path.codes.push_back({3000, 0, L"C:\\Program Files (x86)\\Quorvane"});
  path.codes.push_back({2003, 1, L""});
  const std::string script =
      WriteStep(path.bytes + "InstPath=C:\\Program Files (x86)\\Quorvane\r\n");
  EXPECT_EQ(Install(Child(L"__Package_Quorvane.exe", script), {}), InstallCodes(path.codes));
}

TEST_F(Runners, PackageLineSplitBetweenWritesIsJoined) {
  const auto package = Child(L"__Package_Quorvane.exe",
                             WriteStep("Encode=936\nInstPath=C:\\Pro") + "sleep 200\n" +
                                 WriteStep("gram Files\\\xB0") + "sleep 200\n" +
                                 WriteStep("\xB2\r\nState=Succ") + "sleep 200\n" +
                                 WriteStep("ess"));
  EXPECT_EQ(Install(package, {}),
            InstallCodes({{3000, 0, L"C:\\Program Files\\安"}, {2003, 0, L""}}));
}

// Standard error is never read and the output is read to the child's end, so
// neither pipe fills and holds the child.
TEST_F(Runners, ChildrenThatWriteMuchEndNormally) {
  const std::string stderrFlood = "repeat 1000 error " + std::string(69, 'e') + "\\n\n";
  EXPECT_EQ(Uninstall(Child(L"Quorvane_un_asa.exe", stderrFlood + WriteStep("State=Success\n")),
                      L"C:\\old"),
            (std::vector<Status>{{5002, 0, L""}, {5003, 0, L""}}));
  EXPECT_EQ(
      Install(Child(L"__Package_Quorvane.exe", stderrFlood + WriteStep("State=Success\n")), {}),
      InstallCodes({{2003, 0, L""}}));
  const std::string afterOutcome =
      WriteStep("State=Success\n") + "repeat 7000 write Message=m\\n\n";
  EXPECT_EQ(Install(Child(L"__Package_Quorvane.exe", afterOutcome), {}),
            InstallCodes({{2003, 0, L""}}));
}

TEST_F(Runners, PackageFailStateStopsReadingWhileTheChildRunsOn) {
  const auto package = Child(L"__Package_Quorvane.exe",
                             "write State=Fail\\n\nsleep 1500\nwrite Progress=0.9\\nState=Success\\n\n");
  EXPECT_EQ(Install(package, {}), InstallCodes({{2004, 0, L"安装包安装失败"}}));
}

TEST_F(Runners, PackageCodePage936AppliesFromTheNextWrite) {
  const auto package = Child(L"__Package_Quorvane.exe",
                             "write Encode=936\\n\nsleep 300\nwrite Message=\\xB0\\xB2\\xD7\\xB0\\n\n");
  EXPECT_EQ(Install(package, {}), InstallCodes({{3009, 0, L"安装"}, {2003, 1, L""}}));
}

TEST_F(Runners, PackageEmptyErrorAndSilentFailure) {
  EXPECT_EQ(Install(Child(L"__Package_Quorvane.exe", "write Error=\\n\n"), {}),
            InstallCodes({{2004, 1000, L""}}));
  EXPECT_EQ(Install(Child(L"__Package_Quorvane.exe", "exit 5\n"), {}),
            InstallCodes({{2003, 1, L""}}));
  TestSupport::WriteFile(folder_ / L"broken.exe", "not a program");
  Utils::DebugLogCapture capture;
  EXPECT_EQ(Install(folder_ / L"broken.exe", {}), InstallCodes({{2004, 2, L""}}));
  const auto ended = capture.LinesContaining(L"the package run ends: cannot start");
  ASSERT_EQ(ended.size(), 1u);
  EXPECT_NE(ended[0].find(std::wstring(TestSupport::kStartCall) +
                          TestSupport::FailedWith(TestSupport::kErrorNotAProgram)),
            std::wstring::npos)
      << Utils::ToNarrow(ended[0], Utils::kCodePageUtf8);
}

TEST_F(Runners, PackageCommandLineWithBlanksAndInstCmd) {
  const auto package = Child(L"__Package_Quorvane.exe", "record\n");
  PackageRunOptions options;
  options.installFolder = folder_ / L"Vellisto 安装";
  options.quickLaunch = false;
  options.instCmd = L"-channel=7 -silentstart";
  std::wstring line;
  Install(package, options, &line);
  EXPECT_EQ(line, L"\"" + package +
                      L"\" /S -console=show -version=1.0.0 -adminact=true -authorizationact=true "
                      L"-dsc=true -ssc=false -channel=7 -silentstart -instdir=\"" +
                      options.installFolder + L"\" /D=" + options.installFolder);
  ExpectChildSaw(package, line);
}

TEST_F(Runners, PackageRunnerRunsAgainAfterAnEarlierRun) {
  const auto package = Child(L"__Package_Quorvane.exe", "write State=Success\\n\n");
  StatusLog log;
  {
    CPackageRunner runner(log.Callback(), L"\"" + package + L"\"", L"");
    runner.Start({});
    runner.Start({});
  }
  EXPECT_EQ(log.Entries(), (std::vector<Status>{{2001, 0, L""}, {2002, 0, L""}, {2003, 0, L""},
                                                {2001, 0, L""}, {2002, 0, L""}, {2003, 0, L""}}));
}

// The package as it was admitted stays held while the runner starts it, and
// is let go once it runs, so the orchestration can delete it afterwards.
TEST_F(Runners, AHeldPackageStartsAndIsLetGo) {
  const std::wstring package = Child(L"held.exe", "write State=Success\\n\n");
  Utils::File held = Utils::File::Open(package, Utils::File::Mode::kReadHeld);
  ASSERT_TRUE(held.IsOpen());
#ifdef _WIN32
  // While held nobody can change, replace or delete it.
  EXPECT_FALSE(Utils::File::Open(package, Utils::File::Mode::kAppend).IsOpen());
  EXPECT_FALSE(Utils::MoveFileOver(package, package + L".moved"));
  EXPECT_FALSE(Utils::RemoveFile(package));
#endif
  PackageRunOptions options;
  EXPECT_EQ(Install(package, options, nullptr, std::move(held)),
            (std::vector<Status>{{IST_CODE_START, 0, L""}, {IST_CODE_PROGRESS, 0, L""}, {IST_CODE_SUCCESS, 0, L""}}));
  EXPECT_TRUE(Utils::RemoveFile(package));
}

}  // namespace
