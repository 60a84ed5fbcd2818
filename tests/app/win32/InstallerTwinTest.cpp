// The installer executable itself, run under a debugger in a folder of its
// own with a real configuration file beside it and real command lines.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>

#include "installer/win32/Startup.h"
#include "tests/support/TestFiles.h"
#include "tests/support/win32/DebugCapture.h"
#include "utils/win32/InstanceMutex.h"

namespace {

constexpr wchar_t kConfigLineStart[] = L"InstallerConfig DownloadUrl=[";

class InstallerTwin : public testing::Test {
 protected:
  void SetUp() override {
    exe_ = folder_ / L"QuorvaneInstaller.exe";
    ASSERT_TRUE(TestSupport::CopyFileTo(TestSupport::ProgramFolder() + L"..\\QuorvaneInstaller.exe", exe_));
  }

  void WriteConfig(const std::string& text) {
    TestSupport::WriteFile(folder_ / L"ZorvikInstallerConfig.ini", text);
  }

  // The configuration the run reports, key by key.
  std::map<std::wstring, std::wstring> Run(const std::wstring& arguments) {
    const auto run = TestSupport::RunCapturingDebugOutput(
        L"\"" + exe_ + L"\" " + arguments, 30000,
        [](const std::wstring& line) { return line.find(kConfigLineStart) != std::wstring::npos; });
    EXPECT_TRUE(run.started);
    std::map<std::wstring, std::wstring> values;
    for (const std::wstring& line : run.lines) {
      size_t at = line.find(kConfigLineStart);
      if (at == std::wstring::npos) continue;
      at = line.find(L"InstallerConfig ", at) + 16;
      while (at < line.size()) {
        const size_t open = line.find(L"=[", at);
        const size_t close = line.find(L"] ", open);
        const size_t end = close == std::wstring::npos ? line.rfind(L']') : close;
        if (open == std::wstring::npos || end == std::wstring::npos || end < open) break;
        values[line.substr(at, open - at)] = line.substr(open + 2, end - open - 2);
        at = end + 2;
      }
    }
    EXPECT_FALSE(values.empty()) << "no configuration line";
    return values;
  }

  TestSupport::ScratchFolder folder_{L"twin 安装"};
  std::wstring exe_;
};

TEST_F(InstallerTwin, WithoutAFileTheDefaultsHold) {
  auto config = Run(L"");
  EXPECT_EQ(config[L"IsCheckNet"], L"0");
  EXPECT_EQ(config[L"IsEnableAppAnalytics"], L"1");
  EXPECT_EQ(config[L"DownloadType"], L"1");
  EXPECT_EQ(config[L"DownloadScale"], L"0.7");
  EXPECT_EQ(config[L"DownloadUrl"], L"http://dl.zorviksoft.com/software/216");
  EXPECT_EQ(config[L"ExeFileName"], L"QuorvaneInstaller.exe");
  EXPECT_EQ(config[L"CurlUsable"], L"1");
}

TEST_F(InstallerTwin, AnEmptySectionTurnsTheNetworkCheckOn) {
  WriteConfig("[Install]\r\n");
  auto config = Run(L"");
  EXPECT_EQ(config[L"IsCheckNet"], L"1");
  EXPECT_EQ(config[L"IsEnableAppAnalytics"], L"1");
  EXPECT_EQ(config[L"DownloadType"], L"1");
  EXPECT_EQ(config[L"DownloadScale"], L"0.7");
}

TEST_F(InstallerTwin, FileValuesAreCaseSensitiveAndRoutesExpand) {
  WriteConfig(
      "[Install]\r\nIsCheckNet=True\r\nIsEnableAppAnalytics=false\r\nDownloadType=2\r\n"
      "DownloadUrl=http://127.0.0.1:8080/${ROUTE}/x/${ROUTE}\r\nDownloadScale=0.25\r\n"
      "InstCmd=-from=file\r\nm_DlAppVersion=3.1\r\n");
  auto config = Run(L"");
  EXPECT_EQ(config[L"IsCheckNet"], L"0");
  EXPECT_EQ(config[L"IsEnableAppAnalytics"], L"0");
  EXPECT_EQ(config[L"DownloadType"], L"2");
  // The prefix reports Windows 7, which is not XP.
  EXPECT_EQ(config[L"DownloadUrl"], L"http://127.0.0.1:8080/download_silent/x/download_silent");
  EXPECT_EQ(config[L"DownloadScale"], L"0.25");
  EXPECT_EQ(config[L"InstCmd"], L"-from=file");
  EXPECT_EQ(config[L"DlAppVersion"], L"3.1");
}

TEST_F(InstallerTwin, TheCommandLineWinsOverTheFile) {
  WriteConfig("[Install]\r\nDownloadType=2\r\nDownloadUrl=http://file/\r\nIsCheckNet=true\r\n");
  auto config = Run(
      L"-downloadurl=http://first/${ROUTE} -downloadurl=http://second -downloadtype=3 "
      L"-ischecknet=false \"-instcmd=-a=1 -b\" -downloadscale=0.5");
  EXPECT_EQ(config[L"DownloadUrl"], L"http://first/download_silent");
  EXPECT_EQ(config[L"DownloadType"], L"3");
  EXPECT_EQ(config[L"IsCheckNet"], L"0");
  EXPECT_EQ(config[L"InstCmd"], L"-a=1 -b");
  EXPECT_EQ(config[L"DownloadScale"], L"0.5");
}

TEST_F(InstallerTwin, BareAndCapitalisedOptions) {
  WriteConfig("[Install]\r\nDownloadType=2\r\nDownloadUrl=http://file/\r\n");
  auto config = Run(L"-downloadurl -DownloadType=3 -IsCheckNet=false");
  EXPECT_EQ(config[L"DownloadUrl"], L"");
  EXPECT_EQ(config[L"DownloadType"], L"2");
  EXPECT_EQ(config[L"IsCheckNet"], L"1");
}

TEST_F(InstallerTwin, ASecondCopyExitsWithMinusOneAtOnce) {
  Utils::InstanceMutex first(kInstanceMutexName);
  first.Acquire();
  ASSERT_TRUE(first.Held());
  const auto run = TestSupport::RunCapturingDebugOutput(L"\"" + exe_ + L"\"", 30000);
  ASSERT_TRUE(run.started);
  EXPECT_FALSE(run.timedOut);
  EXPECT_EQ(run.exitCode, 0xFFFFFFFFu);
  for (const auto& line : run.lines) EXPECT_EQ(line.find(kConfigLineStart), std::wstring::npos);

  // Alone it goes on to configure itself (and then shows its window).
  first.Release();
  const auto alone = TestSupport::RunCapturingDebugOutput(
      L"\"" + exe_ + L"\"", 30000,
      [](const std::wstring& line) { return line.find(kConfigLineStart) != std::wstring::npos; });
  EXPECT_FALSE(alone.timedOut);
  EXPECT_NE(alone.exitCode, 0xFFFFFFFFu);
}

}  // namespace
