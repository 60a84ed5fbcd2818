#include <gtest/gtest.h>

#include <cmath>

#include "utils/CommandLine.h"

namespace {

using Args = std::vector<std::wstring>;

TEST(CommandLineArgs, FirstOccurrenceWinsAndKeysKeepTheirDash) {
  const Utils::CommandLineArgs args(Args{L"prog.exe", L"-a=1", L"-a=2", L"-b", L"x", L"-c=x=y",
                                         L"-e=", L"-A=9"});
  const std::map<std::wstring, std::wstring> expected = {
      {L"prog.exe", L""}, {L"-a", L"1"},    {L"-b", L""}, {L"x", L""},
      {L"-c", L"x=y"},    {L"-e", L""},     {L"-A", L"9"}};
  EXPECT_EQ(args.Values(), expected);
  EXPECT_FALSE(args.Has(L"a"));
}

TEST(CommandLineArgs, Getters) {
  const Utils::CommandLineArgs args(Args{L"p", L"-t=TRUE", L"-o=1", L"-y=true", L"-n= -42x",
                                         L"-big=99999999999", L"-d=0.25e1z", L"-bad=z",
                                         L"-huge=1e999"});
  EXPECT_FALSE(args.GetBool(L"-t"));
  EXPECT_FALSE(args.GetBool(L"-o"));
  EXPECT_TRUE(args.GetBool(L"-y"));
  EXPECT_FALSE(args.GetBool(L"-missing"));
  EXPECT_EQ(args.GetInt(L"-n"), -42);
  EXPECT_EQ(args.GetInt(L"-bad"), 0);
  EXPECT_EQ(args.GetInt(L"-big"), 0);
  EXPECT_EQ(args.GetInt(L"-missing"), 0);
  EXPECT_DOUBLE_EQ(args.GetDouble(L"-d", 7.0), 2.5);
  EXPECT_DOUBLE_EQ(args.GetDouble(L"-bad", 7.0), 7.0);
  EXPECT_DOUBLE_EQ(args.GetDouble(L"-huge", 7.0), 7.0);
  EXPECT_TRUE(std::isnan(args.GetDouble(L"-missing", NAN)));
  EXPECT_EQ(args.GetString(L"-missing"), L"");
}

struct SplitCase {
  const wchar_t* line;
  Args args;
};

// The system's splitting rules; the Windows build checks the same table
// against CommandLineToArgvW itself.
const SplitCase kSplitCases[] = {
    {L"prog.exe -a=1 b", {L"prog.exe", L"-a=1", L"b"}},
    {L"\"C:\\Program Files\\x.exe\" /S", {L"C:\\Program Files\\x.exe", L"/S"}},
    {L"p \"-instdir=C:\\My Apps\\V\" -dsc=true", {L"p", L"-instdir=C:\\My Apps\\V", L"-dsc=true"}},
    {L"p a\\\\\"b c\" d", {L"p", L"a\\b c", L"d"}},
    {L"p a\\\"b", {L"p", L"a\"b"}},
    {L"p C:\\dir\\ x", {L"p", L"C:\\dir\\", L"x"}},
    {L"p   \t spaced  ", {L"p", L"spaced"}},
    {L"p \"\"", {L"p", L""}},
    {L"C:\\a\\b.exe", {L"C:\\a\\b.exe"}},
};

TEST(SplitCommandLine, PortableRulesMatchTheTable) {
  for (const auto& c : kSplitCases) EXPECT_EQ(Utils::SplitCommandLineLikeWindows(c.line), c.args) << c.line;
}

TEST(SplitCommandLine, SystemRulesMatchTheTable) {
  for (const auto& c : kSplitCases) EXPECT_EQ(Utils::SplitCommandLine(c.line), c.args) << c.line;
}

}  // namespace
