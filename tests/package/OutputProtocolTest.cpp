#include <gtest/gtest.h>

#include <sstream>

#include "package/OutputProtocol.h"
#include "tests/package/StatusLog.h"

namespace {

// The lines of `text` one by one; the last line that decides the outcome wins.
int InterpretLines(OutputInterpreter& interpreter, const std::wstring& text) {
  std::wistringstream lines(text);
  std::wstring line;
  int result = OutputInterpreter::kNoOutcome;
  while (std::getline(lines, line, L'\n')) {
    const int outcome = interpreter.Interpret(line);
    if (outcome != OutputInterpreter::kNoOutcome) result = outcome;
  }
  return result;
}

struct ProtocolCase {
  const char* name;
  ChildKind kind;
  std::wstring lines;
  int result;
  std::vector<Status> codes;
};

void PrintTo(const ProtocolCase& c, std::ostream* out) { *out << c.name; }

class Interpret : public testing::TestWithParam<ProtocolCase> {};

TEST_P(Interpret, SendsTheCodesOfEachLine) {
  StatusLog log;
  OutputInterpreter interpreter(GetParam().kind, log.Callback());
  EXPECT_EQ(InterpretLines(interpreter, GetParam().lines), GetParam().result);
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
                     L"Progress=0.25\nInstPath=C:\\V\r\nExePath=C:\\V\\Quorvane.exe\r\r\n"
                     L"StartExe=s.exe\nUninstExePath=u1\nUninstExe=u2\nUninstEp=C:\\V\\uninst.ep\n"
                     L"StartUrl=http://x/\nMessage=hi\nInstallVersion=1.7.9\n",
                     0,
                     {{2002, 0.25, L""},
                      {3000, 0, L"C:\\V"},
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
                     L"TopShowDetention=5\nFinsihCloseDetention=-1\n"
                     L"FinsihCloseDetention=4294967295\r\nTopShowDetention=2147483648\n"
                     L"TopShowDetention=99999999999\nTopShowDetention=-99999999999\n"
                     L"TopShowDetention=\n",
                     0,
                     {{3007, 5, L""},
                      {3008, 4294967295.0, L""},
                      {3008, 4294967295.0, L""},
                      {3007, 2147483648.0, L""},
                      {3007, 4294967295.0, L""},
                      {3007, 2147483648.0, L""},
                      {3007, 0, L""}}},
        ProtocolCase{"PackageEmptyError", P, L"Error=\n", 1000, {{2004, 1000, L""}}},
        ProtocolCase{"PackageFailState", P, L"State=Fail\n", 1000, {{2004, 0, L"安装包安装失败"}}},
        ProtocolCase{"PackageSuccess", P, L"Progress=1\nState=Success", 1,
                     {{2002, 1, L""}, {2003, 0, L""}}},
        ProtocolCase{"KeysOnlyAtLineStart", P, L" State=Success\nxProgress=1\n", 0, {}}));

TEST(Interpret, TextsAreCutAt771Units) {
  StatusLog log;
  OutputInterpreter interpreter(ChildKind::Package, log.Callback());
  interpreter.Interpret(L"Message=" + std::wstring(900, L'm'));
  // A cut that ends in a CR leaves none behind.
  interpreter.Interpret(L"Message=" + std::wstring(770, L'm') + L"\rmore");
  EXPECT_EQ(log.Entries(), (std::vector<Status>{{3009, 0, std::wstring(771, L'm')},
                                                {3009, 0, std::wstring(770, L'm')}}));
}

TEST(Interpret, EncodeLinesChangeTheCodePage) {
  // A code page the system cannot decode (12345, 1200 is UTF-16, -1) falls
  // back to the ANSI code page, or nothing after it could be read.
  const std::pair<const wchar_t*, unsigned> package[] = {
      {L"Encode=UTF8", 65001}, {L"Encode= 936 \r", 936}, {L"Encode=ACP", 0},
      {L"Encode=utf8", 0},     {L"Encode=99999999999", 0}, {L"Encode=12345", 0},
      {L"Encode=1200", 0},     {L"Encode=-1", 0}};
  for (const auto& [line, codePage] : package) {
    OutputInterpreter interpreter(ChildKind::Package, [](int, double, const wchar_t*) {});
    interpreter.Interpret(L"Encode=UTF8");
    interpreter.Interpret(line);
    EXPECT_EQ(interpreter.CodePage(), codePage) << Utils::ToNarrow(line, 65001);
  }
  OutputInterpreter uninstaller(ChildKind::Uninstaller, [](int, double, const wchar_t*) {});
  uninstaller.Interpret(L"Encode=UTF8\r");
  EXPECT_EQ(uninstaller.CodePage(), 65001u);
  uninstaller.Interpret(L"Encode=936");
  EXPECT_EQ(uninstaller.CodePage(), 0u);
}

}  // namespace
