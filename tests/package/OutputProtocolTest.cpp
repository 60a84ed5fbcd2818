#include <gtest/gtest.h>

#include "package/OutputProtocol.h"
#include "tests/package/StatusLog.h"

namespace {

struct ProtocolCase {
  const char* name;
  ChildKind kind;
  std::wstring chunk;
  int result;
  std::vector<Status> codes;
};

void PrintTo(const ProtocolCase& c, std::ostream* out) { *out << c.name; }

class Interpret : public testing::TestWithParam<ProtocolCase> {};

TEST_P(Interpret, SendsTheCodesOfEachLine) {
  StatusLog log;
  OutputInterpreter interpreter(GetParam().kind, log.Callback());
  EXPECT_EQ(interpreter.Interpret(GetParam().chunk), GetParam().result);
  EXPECT_EQ(log.Entries(), GetParam().codes);
}

const ChildKind U = ChildKind::Uninstaller;
const ChildKind P = ChildKind::Package;

INSTANTIATE_TEST_SUITE_P(
    Lines, Interpret,
    testing::Values(
        ProtocolCase{"UninstallProgressThenSuccess", U, L"Progress=50\nState=Success\n", 1,
                     {{5002, 50, L""}, {5003, 0, L""}}},
        ProtocolCase{"UninstallFailState", U, L"State= Fail \r\n", 1000, {{5005, 0, L"安装包卸载失败"}}},
        ProtocolCase{"UninstallErrorText", U, L"Error=disk full\n", 1000, {{5005, 0, L"disk full"}}},
        ProtocolCase{"UninstallUnknownStateAndKeys", U, L"State=Maybe\nInstPath=x\nprogress=3\n", 0, {}},
        ProtocolCase{"UninstallEmptyProgress", U, L"Progress=\nProgress=abc", 0,
                     {{5002, 0, L""}, {5002, 0, L""}}},
        ProtocolCase{"LastOutcomeDecides", U, L"State=Success\nError=late\n", 1000,
                     {{5003, 0, L""}, {5005, 0, L"late"}}},
        ProtocolCase{"PackageFacts", P,
                     L"Progress=0.25\nInstPath=C:\\V\r\nExePath=C:\\V\\Quorvane.exe\n"
                     L"StartExe=s.exe\nUninstExePath=u1\nUninstExe=u2\nUninstEp=C:\\V\\uninst.ep\n"
                     L"StartUrl=http://x/\nMessage=hi\nInstallVersion=1.7.9\n",
                     0,
                     {{2002, 0.25, L""},
                      {3000, 0, L"C:\\V\r"},
                      {3001, 0, L"C:\\V\\Quorvane.exe"},
                      {3001, 0, L"s.exe"},
                      {3002, 0, L"u1"},
                      {3002, 0, L"u2"},
                      {3003, 0, L"C:\\V\\uninst.ep"},
                      {3004, 0, L"http://x/"},
                      {3009, 0, L"hi"}}},
        ProtocolCase{"PackageStartupStyles", P,
                     L"StartupStyle=  AutoStartup \r\nStartupStyle=UserStartup\n"
                     L"StartupStyle=NonStartup\nStartupStyle=Other\n",
                     0,
                     {{3005, 1, L""}, {3005, 2, L""}, {3005, 0, L""}, {3005, 0, L""}}},
        ProtocolCase{"PackageDetentionsAreUnsigned", P,
                     L"TopShowDetention=5\nFinsihCloseDetention=-1\n", 0,
                     {{3007, 5, L""}, {3008, 4294967295.0, L""}}},
        ProtocolCase{"PackageEmptyError", P, L"Error=\n", 1000, {{2004, 1000, L""}}},
        ProtocolCase{"PackageFailState", P, L"State=Fail\n", 1000, {{2004, 0, L"安装包安装失败"}}},
        ProtocolCase{"PackageSuccess", P, L"Progress=1\nState=Success", 1,
                     {{2002, 1, L""}, {2003, 0, L""}}},
        ProtocolCase{"KeysOnlyAtLineStart", P, L" State=Success\nxProgress=1\n", 0, {}}));

TEST(Interpret, TextsAreCutAt771Units) {
  StatusLog log;
  OutputInterpreter interpreter(ChildKind::Package, log.Callback());
  interpreter.Interpret(L"Message=" + std::wstring(900, L'm') + L"\n");
  ASSERT_EQ(log.Entries().size(), 1u);
  EXPECT_EQ(log.Entries()[0].text.size(), 771u);
}

TEST(Interpret, EncodeLinesChangeTheCodePage) {
  const std::pair<const wchar_t*, unsigned> package[] = {
      {L"Encode=UTF8\n", 65001}, {L"Encode= 936 \r\n", 936}, {L"Encode=ACP\n", 0},
      {L"Encode=utf8\n", 0},     {L"Encode=99999999999\n", 0}};
  for (const auto& [line, codePage] : package) {
    OutputInterpreter interpreter(ChildKind::Package, [](int, double, const wchar_t*) {});
    interpreter.Interpret(L"Encode=UTF8\n");
    interpreter.Interpret(line);
    EXPECT_EQ(interpreter.CodePage(), codePage) << Utils::ToNarrow(line, 65001);
  }
  OutputInterpreter uninstaller(ChildKind::Uninstaller, [](int, double, const wchar_t*) {});
  uninstaller.Interpret(L"Encode=UTF8\r\n");
  EXPECT_EQ(uninstaller.CodePage(), 65001u);
  uninstaller.Interpret(L"Encode=936\n");
  EXPECT_EQ(uninstaller.CodePage(), 0u);
}

}  // namespace
