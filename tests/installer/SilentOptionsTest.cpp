#include <gtest/gtest.h>

#include <set>
#include <string>

#include "installer/ExitCodes.h"
#include "installer/SilentOptions.h"
#include "installer/SilentProgress.h"
#include "utils/StatusCodes.h"

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

TEST(SilentOptions, Table) {
  const struct {
    std::wstring line;
    bool silent;
    std::optional<std::wstring> folder;
    bool desktop, quickLaunch;
    std::wstring log;
  } cases[] = {
      {L"QuorvaneInstaller.exe", false, std::nullopt, true, true, L""},
      {L"QuorvaneInstaller.exe /S", true, std::nullopt, true, true, L""},
      {L"\"C:\\a b\\QuorvaneInstaller.exe\" /S /D=C:\\some folder\\带空格", true, L"C:\\some folder\\带空格", true,
       true, L""},
      {L"x.exe /S -dsc=false -ssc=true /D=D:\\Apps ", true, L"D:\\Apps", false, true, L""},
      {L"x.exe -ssc=false /S -log=C:\\logs\\setup.log", true, std::nullopt, true, false, L"C:\\logs\\setup.log"},
      {L"x.exe \"-log=C:\\my logs\\setup.log\"", false, std::nullopt, true, true, L"C:\\my logs\\setup.log"},
      // Everything after /D= is the folder, switches included.
      {L"x.exe /D=C:\\q /S", false, L"C:\\q /S", true, true, L""},
      {L"x.exe /S /D=", true, L"", true, true, L""},
      {L"x.exe /S \"/D=C:\\some folder\\带空格\"", true, L"C:\\some folder\\带空格", true, true, L""},
      {L"x.exe /s", false, std::nullopt, true, true, L""},
      {L"\"C:\\odd /D=path\\x.exe\" /S", true, std::nullopt, true, true, L""},
  };
  for (const auto& c : cases) {
    const SilentOptions options = ParseSilentOptions(c.line);
    EXPECT_EQ(options.silent, c.silent) << Narrow(c.line);
    EXPECT_EQ(options.folder, c.folder) << Narrow(c.line);
    EXPECT_EQ(options.desktopShortcut, c.desktop) << Narrow(c.line);
    EXPECT_EQ(options.quickLaunch, c.quickLaunch) << Narrow(c.line);
    EXPECT_EQ(options.logFile, c.log) << Narrow(c.line);
  }
}

TEST(SilentProgress, OneLinePerTenthPassed) {
  SilentProgress progress;
  std::vector<std::wstring> lines;
  for (const int percent : {3, 10, 12, 35, 35, 34, 70, 74, 98, 100, 100, 0}) {
    if (const auto line = progress.Advance(percent)) lines.push_back(*line);
  }
  EXPECT_EQ(lines, (std::vector<std::wstring>{L"progress 10%", L"progress 30%", L"progress 70%",
                                              L"progress 90%", L"progress 100%"}));
  EXPECT_TRUE(SilentProgress::StageLine(DL_CODE_START).has_value());
  EXPECT_FALSE(SilentProgress::StageLine(DL_CODE_PROGRESS).has_value());
}

TEST(ExitCodes, EveryOutcomeHasItsOwnNonZeroCodeButSuccess) {
  using InstallRun::Outcome;
  std::set<int> seen;
  for (const Outcome outcome :
       {Outcome::kProductRunning, Outcome::kFolderInvalid, Outcome::kLowDisk, Outcome::kOffline,
        Outcome::kDownloadFailed, Outcome::kPackageRefused, Outcome::kPackageFailed, Outcome::kUninstallFailed}) {
    const int code = static_cast<int>(ExitCodeFor(outcome));
    EXPECT_NE(code, 0) << InstallRun::OutcomeName(outcome);
    EXPECT_TRUE(seen.insert(code).second) << InstallRun::OutcomeName(outcome);
  }
  EXPECT_EQ(static_cast<int>(ExitCodeFor(Outcome::kInstalled)), 0);
}

}  // namespace
