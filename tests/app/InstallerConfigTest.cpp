#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "app/InstallerConfig.h"
#include "tests/app/ConfigScenarios.h"
#include "utils/CommandLine.h"

namespace {

// The file layer as the system's profile functions present it.
class FakeSection : public ConfigFileSection {
 public:
  using Values = std::map<std::wstring, std::wstring>;
  explicit FakeSection(Values values) : values_(std::move(values)) {}
  std::wstring GetString(const std::wstring& key, const std::wstring& fallback) const override {
    const auto found = values_.find(key);
    return found == values_.end() ? fallback : found->second.substr(0, 259);
  }
  int GetInt(const std::wstring& key, int fallback) const override {
    const auto found = values_.find(key);
    if (found == values_.end()) return fallback;
    int value = 0;
    for (wchar_t c : found->second) {
      if (c < L'0' || c > L'9') break;
      value = value * 10 + (c - L'0');
    }
    return value;
  }

 private:
  std::map<std::wstring, std::wstring> values_;
};

// The same table the installer itself runs through on Windows.
TEST(InstallerConfig, SharedScenarios) {
  for (const ConfigScenarios::Scenario& scenario : ConfigScenarios::All()) {
    InstallerConfig config(L"10");
    if (scenario.hasFile) {
      FakeSection::Values values(scenario.file.begin(), scenario.file.end());
      config.LoadFileSection(FakeSection(values));
    }
    config.ApplyOptions(Utils::CommandLineArgs(L"QuorvaneInstaller.exe " + scenario.commandLine));
    const auto described = ConfigScenarios::ParseConfigurationLine(config.Describe());
    for (const auto& [key, value] : scenario.expected) {
      const auto found = described.find(key);
      ASSERT_NE(found, described.end()) << scenario.name;
      EXPECT_EQ(found->second, value) << scenario.name << ": " << std::string(key.begin(), key.end());
    }
  }
}

TEST(InstallerConfig, Defaults) {
  const InstallerConfig config(L"10");
  EXPECT_EQ(config.ProductName, L"Quorvane");
  EXPECT_EQ(config.Version, L"1.7.9");
  EXPECT_EQ(config.ExeFileName, L"NULL");
  EXPECT_EQ(config.DlAppNameSuffix, L".downloader");
  EXPECT_EQ(config.DownloadUrl, InstallerConfig::kBuiltInUrl);
  EXPECT_EQ(config.DownloadType, 1);
  EXPECT_FALSE(config.IsCheckNet);
  EXPECT_TRUE(config.IsEnableAppAnalytics);
  EXPECT_DOUBLE_EQ(config.DownloadScale, 0.7);
  EXPECT_TRUE(config.CurlUsable);
  EXPECT_EQ(config.AbGroup, L"IN");
  EXPECT_TRUE(config.InstCmd.empty());
  EXPECT_TRUE(config.DlAppVersion.empty());
}

TEST(InstallerConfig, EmptySectionTurnsTheNetworkCheckOn) {
  InstallerConfig config(L"10");
  config.LoadFileSection(FakeSection(FakeSection::Values{}));
  EXPECT_TRUE(config.IsCheckNet);
  EXPECT_TRUE(config.IsEnableAppAnalytics);
  EXPECT_EQ(config.DownloadType, 1);
  EXPECT_DOUBLE_EQ(config.DownloadScale, 0.7);
  EXPECT_EQ(config.DownloadUrl, InstallerConfig::kBuiltInUrl);
}

TEST(InstallerConfig, FileValues) {
  InstallerConfig config(L"10");
  config.LoadFileSection(FakeSection(FakeSection::Values{{L"DownloadUrl", L"http://h/${ROUTE}/a"},
                                      {L"DownloadType", L"3x"},
                                      {L"IsCheckNet", L"True"},
                                      {L"IsEnableAppAnalytics", L"false"},
                                      {L"DlAppNameSuffix", L".dl"},
                                      {L"m_DlAppVersion", L"2.0"},
                                      {L"DownloadScale", L"  0.5abc"},
                                      {L"InstCmd", L"-x=1 -y"},
                                      {L"CaBundle", L"C:\\certs\\corp.pem"},
                                      {L"AnalyticsUrl", L"http://127.0.0.1:9/sa?project=pc"}}));
  EXPECT_EQ(config.DownloadUrl, L"http://h/download_silent/a");
  EXPECT_EQ(config.DownloadType, 3);
  EXPECT_FALSE(config.IsCheckNet);
  EXPECT_FALSE(config.IsEnableAppAnalytics);
  EXPECT_EQ(config.DlAppNameSuffix, L".dl");
  EXPECT_EQ(config.DlAppVersion, L"2.0");
  EXPECT_DOUBLE_EQ(config.DownloadScale, 0.5);
  EXPECT_EQ(config.InstCmd, L"-x=1 -y");
  EXPECT_EQ(config.CaBundle, L"C:\\certs\\corp.pem");
  EXPECT_EQ(config.AnalyticsUrl, L"http://127.0.0.1:9/sa?project=pc");
}

// The scale is the download's share of the bar: outside 0 to 1 it is pinned
// (70 would show "3500%").
TEST(InstallerConfig, FileScaleThatIsNoNumberOrOutOfRange) {
  const std::pair<const wchar_t*, double> cases[] = {
      {L"abc", 0.0}, {L"", 0.0}, {L"1e999", 0.7}, {L"nan", 0.7}, {L"-0.25", 0.0}, {L"70", 1.0}, {L"1", 1.0}};
  for (const auto& [text, expected] : cases) {
    InstallerConfig config(L"10");
    config.LoadFileSection(FakeSection(FakeSection::Values{{L"DownloadScale", text}}));
    EXPECT_DOUBLE_EQ(config.DownloadScale, expected) << std::wstring(text).size();
  }
}

TEST(InstallerConfig, CommandLineOverridesTheFile) {
  InstallerConfig config(L"10");
  config.LoadFileSection(FakeSection(FakeSection::Values{{L"DownloadType", L"2"}, {L"IsCheckNet", L"true"}}));
  config.ApplyOptions(Utils::CommandLineArgs(std::vector<std::wstring>{
      L"QuorvaneInstaller.exe", L"-downloadurl=http://first/${ROUTE}", L"-downloadurl=http://second",
      L"-downloadtype=3", L"-downloadscale=0.4", L"-ischecknet=false", L"-isenableappanalytics=true",
      L"-dlappnamesuffix=.s", L"-dlappversion=9", L"-instcmd=-k=v", L"-cabundle=D:\\ca.pem"}));
  EXPECT_EQ(config.DownloadUrl, L"http://first/download_silent");
  EXPECT_EQ(config.DownloadType, 3);
  EXPECT_DOUBLE_EQ(config.DownloadScale, 0.4);
  EXPECT_FALSE(config.IsCheckNet);
  EXPECT_TRUE(config.IsEnableAppAnalytics);
  EXPECT_EQ(config.DlAppNameSuffix, L".s");
  EXPECT_EQ(config.DlAppVersion, L"9");
  EXPECT_EQ(config.InstCmd, L"-k=v");
  EXPECT_EQ(config.CaBundle, L"D:\\ca.pem");
}

TEST(InstallerConfig, TheCaBundleTheCommandLineWillGiveIsKnownBeforeItIsApplied) {
  InstallerConfig config(L"10");
  config.LoadFileSection(FakeSection(FakeSection::Values{{L"CaBundle", L"C:\\file.pem"}}));
  const Utils::CommandLineArgs none(std::vector<std::wstring>{L"p", L"-downloadtype=3"});
  const Utils::CommandLineArgs given(std::vector<std::wstring>{L"p", L"-cabundle=D:\\line.pem"});
  EXPECT_EQ(config.CaBundleWith(none), L"C:\\file.pem");
  EXPECT_EQ(config.CaBundleWith(given), L"D:\\line.pem");
  EXPECT_EQ(config.CaBundle, L"C:\\file.pem");  // nothing applied yet
}

TEST(InstallerConfig, BareAndCapitalisedOptions) {
  InstallerConfig config(L"10");
  config.LoadFileSection(FakeSection(FakeSection::Values{{L"IsCheckNet", L"true"}, {L"InstCmd", L"keep"}}));
  config.ApplyOptions(Utils::CommandLineArgs(std::vector<std::wstring>{
      L"p", L"-downloadurl", L"-ischecknet", L"-downloadtype", L"-DownloadType=3", L"-InstCmd=x",
      L"-downloadscale=abc"}));
  EXPECT_EQ(config.DownloadUrl, L"");
  EXPECT_FALSE(config.IsCheckNet);
  EXPECT_EQ(config.DownloadType, 0);
  EXPECT_EQ(config.InstCmd, L"keep");
  EXPECT_DOUBLE_EQ(config.DownloadScale, 0.7);  // not a number: the previous value stays
}

TEST(ExpandRoute, PicksTheRouteByWindowsVersion) {
  const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*> cases[] = {
      {L"XP", L"http://h/${ROUTE}", L"http://h/download_silent_xp"},
      {L"XP-", L"http://h/${ROUTE}", L"http://h/download_silent_xp"},
      {L"XP+", L"http://h/${ROUTE}", L"http://h/download_silent_xp"},
      {L"Server 2003", L"http://h/${ROUTE}", L"http://h/download_silent"},
      {L"10", L"http://h/${ROUTE}/${ROUTE}", L"http://h/download_silent/download_silent"},
      {L"7", L"http://h/plain", L"http://h/plain"}};
  for (const auto& [os, url, expected] : cases) {
    EXPECT_EQ(InstallerConfig::ExpandRouteFor(url, os), expected);
  }
  EXPECT_EQ(InstallerConfig(L"XP").DownloadUrl, InstallerConfig::kBuiltInUrl);
}

}  // namespace
