// The installer executable itself, run under a debugger in a folder of its
// own with a real configuration file beside it and real command lines.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>

#include "installer/win32/Startup.h"
#include "tests/app/ConfigScenarios.h"
#include "tests/support/TestFiles.h"
#include "tests/support/win32/DebugCapture.h"
#include "utils/Encoding.h"
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
      if (line.find(kConfigLineStart) != std::wstring::npos) values = ConfigScenarios::ParseConfigurationLine(line);
    }
    EXPECT_FALSE(values.empty()) << "no configuration line";
    return values;
  }

  TestSupport::ScratchFolder folder_{L"twin 安装"};
  std::wstring exe_;
};

// The same table the configuration's native tests run, here through a file
// beside the installer and its real command line.
TEST_F(InstallerTwin, SharedScenarios) {
  for (const ConfigScenarios::Scenario& scenario : ConfigScenarios::All()) {
    const std::wstring file = folder_ / L"ZorvikInstallerConfig.ini";
    DeleteFileW(file.c_str());
    if (scenario.hasFile) {
      std::string text = "[Install]\r\n";
      for (const auto& [key, value] : scenario.file) {
        text += Utils::ToNarrow(key, Utils::kCodePageAnsi) + "=" + Utils::ToNarrow(value, Utils::kCodePageAnsi) + "\r\n";
      }
      WriteConfig(text);
    }
    auto config = Run(scenario.commandLine);
    for (const auto& [key, value] : scenario.expected) {
      EXPECT_EQ(config[key], value) << scenario.name << ": " << Utils::ToNarrow(key, Utils::kCodePageUtf8);
    }
  }
  EXPECT_EQ(Run(L"")[L"ExeFileName"], L"QuorvaneInstaller.exe");
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
