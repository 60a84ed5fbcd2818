// The installation records against the real registry and profile files of
// the wine prefix.
#include "tests/support/Regex.h"

#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <optional>

#include "app/win32/InstallRecords.h"
#include "tests/support/TestFiles.h"
#include "utils/win32/Registry.h"

namespace {

std::wstring Profile(const std::wstring& file, const wchar_t* section, const wchar_t* key) {
  wchar_t value[512] = {};
  GetPrivateProfileStringW(section, key, L"<none>", value, 512, file.c_str());
  return value;
}

std::optional<std::wstring> RegistryValue(const wchar_t* name) {
  unsigned long type = 0;
  std::wstring text;
  if (!Utils::ReadProductRegString(name, type, text)) return std::nullopt;
  return text;
}

// Sets an environment variable for one test and puts the old value back.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const wchar_t* name, const wchar_t* value) : name_(name) {
    wchar_t old[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(name, old, MAX_PATH);
    if (length > 0 && length < MAX_PATH) old_ = old;
    SetEnvironmentVariableW(name, value);
  }
  ~ScopedEnvironment() { SetEnvironmentVariableW(name_, old_ ? old_->c_str() : nullptr); }
  ScopedEnvironment(const ScopedEnvironment&) = delete;
  ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

 private:
  const wchar_t* name_;
  std::optional<std::wstring> old_;
};

class InstallRecords : public testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, Utils::kProductRegistryKey); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, Utils::kProductRegistryKey); }

  TestSupport::ScratchFolder scratch_{L"records 安装"};
  // Without its last separator, as the window passes folders.
  std::wstring folder_ = scratch_.Path().substr(0, scratch_.Path().size() - 1);
};

TEST_F(InstallRecords, ReadingFillsTheUninstallerFromTheFolder) {
  EXPECT_EQ(ReadInstallRecords().folder, L"");
  EXPECT_EQ(ReadInstallRecords().uninstaller, L"");

  ASSERT_TRUE(Utils::WriteProductRegString(L"InstallPath", L"C:\\Apps\\Quorvane"));
  EXPECT_EQ(ReadInstallRecords().folder, L"C:\\Apps\\Quorvane");
  EXPECT_EQ(ReadInstallRecords().uninstaller, L"C:\\Apps\\Quorvane\\uninst.ep");

  ASSERT_TRUE(Utils::WriteProductRegString(L"UnInstallEp", L"D:\\other\\un.exe"));
  EXPECT_EQ(ReadInstallRecords().uninstaller, L"D:\\other\\un.exe");
}

TEST_F(InstallRecords, AnUninstallerThatIsNotThereIsNeverRecorded) {
  ASSERT_TRUE(Utils::WriteProductRegString(L"UnInstallEp", L"C:\\old\\uninst.ep"));
  std::wstring reported;
  WriteInstallRecords(folder_, reported);
  EXPECT_EQ(RegistryValue(L"InstallPath"), folder_);
  EXPECT_EQ(RegistryValue(L"UnInstallEp"), L"C:\\old\\uninst.ep");
  EXPECT_EQ(reported, folder_ + L"\\uninst.ep");

  TestSupport::WriteFile(scratch_ / L"uninst.ep", "MZ");
  reported.clear();
  WriteInstallRecords(folder_, reported);
  EXPECT_EQ(RegistryValue(L"UnInstallEp"), folder_ + L"\\uninst.ep");

  TestSupport::WriteFile(scratch_ / L"reported.exe", "MZ");
  reported = folder_ + L"\\reported.exe";
  WriteInstallRecords(folder_, reported);
  EXPECT_EQ(RegistryValue(L"UnInstallEp"), folder_ + L"\\reported.exe");
}

TEST_F(InstallRecords, SettingsGetAFreshDeviceIdAtEachWrite) {
  TestSupport::ScratchFolder appData{L"appdata"};
  ScopedEnvironment env(L"APPDATA", appData.Path().c_str());
  const std::wstring settings = folder_ + L"\\set.ini";

  WriteSettingsIni(folder_);
  const std::wstring first = Profile(settings, L"Install", L"DeviceID");
  EXPECT_TRUE(std::regex_match(first, std::wregex(L"[0-9A-Fa-f]{32}"))) << first;
  EXPECT_EQ(Profile(settings, L"Install", L"AppName"), L"Quorvane");
  EXPECT_EQ(Profile(settings, L"Install", L"APPStore"), OwnExeFileName());
  EXPECT_NE(OwnExeFileName().find(L".exe"), std::wstring::npos);
  const std::wstring analytics = appData.Path() + L"ZorvikData\\Quorvane\\ZKAnalytics.ini";
  EXPECT_EQ(Profile(settings, L"Install", L"ZKAnalyticsIni"), analytics);
  EXPECT_TRUE(std::regex_match(Profile(analytics, L"Init", L"UpdateTime"),
                               std::wregex(L"\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d")));

  WriteSettingsIni(folder_);
  const std::wstring second = Profile(settings, L"Install", L"DeviceID");
  EXPECT_NE(second, first);
}

TEST_F(InstallRecords, WithoutAppDataTheCommonDocumentsFolderHoldsTheAnalyticsIni) {
  ScopedEnvironment env(L"APPDATA", nullptr);
  wchar_t documents[MAX_PATH] = {};
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, documents, CSIDL_COMMON_DOCUMENTS, FALSE));
  EXPECT_EQ(GetAnalyticsDataDir(), std::wstring(documents) + L"\\ZorvikData\\Quorvane");
}

TEST_F(InstallRecords, AnAnalyticsFolderThatCannotBeMadeSkipsTheAnalyticsIni) {
  // A file where the data folder's parent should be.
  TestSupport::WriteFile(scratch_ / L"blocked", "x");
  ScopedEnvironment env(L"APPDATA", (scratch_ / L"blocked").c_str());
  WriteSettingsIni(folder_);
  EXPECT_EQ(Profile(folder_ + L"\\set.ini", L"Install", L"AppName"), L"Quorvane");
  EXPECT_EQ(Profile(folder_ + L"\\set.ini", L"Install", L"ZKAnalyticsIni"), L"<none>");
}

TEST_F(InstallRecords, TheOldCopyStaysOnlyInItsOwnFolderWithOverrideFalse) {
  TestSupport::ScratchFolder other{L"other"};
  const struct {
    const char* settings;  // set.ini of the installed folder; null: none
    bool sameFolder;
    bool keeps;
  } cases[] = {
      {"[Uninstall]\r\nIsOverride=false\r\n", true, true},
      {"[Uninstall]\r\nIsOverride=false\r\n", false, false},
      {"[Uninstall]\r\nIsOverride=true\r\n", true, false},
      {"[Uninstall]\r\nIsOverride=False\r\n", true, false},
      {nullptr, true, false},
  };
  for (const auto& c : cases) {
    DeleteFileW((folder_ + L"\\set.ini").c_str());
    if (c.settings) TestSupport::WriteFile(folder_ + L"\\set.ini", c.settings);
    const std::wstring target = c.sameFolder ? folder_ : other.Path();
    EXPECT_EQ(KeepsOldCopy(folder_, target), c.keeps) << (c.settings ? c.settings : "none");
  }
  EXPECT_TRUE(SameFolder(folder_, scratch_.Path()));
  EXPECT_FALSE(SameFolder(folder_, folder_ + L"\\sub"));
  EXPECT_FALSE(SameFolder(L"", folder_));
}

}  // namespace
