#include "tests/support/Regex.h"  // first: see there

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/TestFiles.h"
#include "utils/Encoding.h"

#include "utils/Log.h"

namespace {

struct NameCase {
  const char* pretty;
  const char* expected;
};

class QualifiedName : public testing::TestWithParam<NameCase> {};

TEST_P(QualifiedName, DropsReturnTypeAndParameters) {
  EXPECT_EQ(Utils::QualifiedFunctionName(GetParam().pretty), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    CompilerSpellings, QualifiedName,
    testing::Values(
        NameCase{"int Utils::CheckNetwork()", "Utils::CheckNetwork"},
        NameCase{"static void Utils::Thread::CallBack(Utils::Thread*)", "Utils::Thread::CallBack"},
        NameCase{"void CDownloadInstaller::Start()", "CDownloadInstaller::Start"},
        NameCase{"std::map<int, std::basic_string<char> > Foo::Bar(int, const char*) const",
                 "Foo::Bar"},
        NameCase{"void Outer::Run()::<lambda(int)>", "Outer::Run()::<lambda(int)>"},
        NameCase{"Thing::Thing(int)", "Thing::Thing"},
        NameCase{"plain", "plain"}));

void RawStatementForTest() { UTILS_LOG_RAW(L"GetConnectivity %d", 0); }
void LineStatementForTest() { UTILS_LOG(L"progress:%f%%", 12.5); }

TEST(DiagnosticLine, RawFormCarriesPrefixFunctionLineAndNoLineEnd) {
  Utils::DebugLogCapture capture;
  RawStatementForTest();
  const auto lines = capture.Lines();
  ASSERT_EQ(lines.size(), 1u);
  const std::wregex shape(
      LR"(<P\d{5,}><T\d{5,}><\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}>\((.*)\)<(\d{4,})>: (.*))");
  std::wsmatch m;
  ASSERT_TRUE(std::regex_match(lines[0], m, shape)) << lines[0].size();
  EXPECT_EQ(m[1].str(), L"{anonymous}::RawStatementForTest");
  EXPECT_EQ(m[2].str().size(), 4u);
  EXPECT_EQ(m[3].str(), L"GetConnectivity 0");
}

TEST(DiagnosticLine, LineFormEndsInCrLfAndDoubledPercentIsLiteral) {
  Utils::DebugLogCapture capture;
  LineStatementForTest();
  const auto lines = capture.LinesContaining(L"progress:");
  ASSERT_EQ(lines.size(), 1u);
  const std::wstring& line = lines[0];
  ASSERT_GE(line.size(), 2u);
  EXPECT_EQ(line.substr(line.size() - 2), L"\r\n");
  EXPECT_NE(line.find(L": progress:12.500000%\r\n"), std::wstring::npos);
}

TEST(DiagnosticLine, WidthsAreMinimumsNotMaximums) {
  Utils::DebugLogCapture capture;
  Utils::DebugLog(Utils::JoinLogFormat(Utils::LogForm::Raw, L"x").c_str(), 1234567, 7, 2024, 3, 7,
                  9, 5, 3, 42, L"Utils::HardDiskManager::CheckFreeSpace", 12345);
  const auto lines = capture.Lines();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0],
            L"<P1234567><T00007><2024-03-07 09:05:03.042>(Utils::HardDiskManager::CheckFreeSpace)"
            L"<12345>: x");
}

TEST(DiagnosticLine, LinesFromSeveralThreadsStayWhole) {
  Utils::DebugLogCapture capture;
  auto writer = [](int id) {
    for (int i = 0; i < 200; ++i) UTILS_LOG(L"writer %d line %d", id, i);
  };
  std::thread a(writer, 1), b(writer, 2);
  a.join();
  b.join();
  const auto lines = capture.LinesContaining(L"writer ");
  ASSERT_EQ(lines.size(), 400u);
  const std::wregex whole(LR"(<P\d+><T\d+><[^>]+>\(.*\)<\d+>: writer [12] line \d+\r\n)");
  for (const auto& line : lines) EXPECT_TRUE(std::regex_match(line, whole));
}

std::string ReadAll(const std::wstring& path) {
  std::ifstream in(TestSupport::FsPath(path), std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The file is the channel's copy: the same lines, in the same order, across threads.
TEST(LogFile, HoldsTheChannelsLinesInOrder) {
  TestSupport::ScratchFolder folder(L"log 日志");
  const std::wstring path = folder / L"installer.log";
  TestSupport::WriteFile(path, "earlier\r\n");
  Utils::DebugLogCapture capture;
  ASSERT_TRUE(Utils::AppendLogTo(path));
  auto writer = [](int id) {
    for (int i = 0; i < 100; ++i) UTILS_LOG(L"writer %d line %d 中文", id, i);
  };
  std::thread a(writer, 1), b(writer, 2);
  a.join();
  b.join();
  std::string expected = "earlier\r\n";
  for (const std::wstring& line : capture.Lines()) expected += Utils::ToNarrow(line, Utils::kCodePageUtf8);
  ASSERT_TRUE(Utils::AppendLogTo(L""));
  UTILS_LOG(L"after the copy ended");
  EXPECT_EQ(ReadAll(path), expected);
}

TEST(LogFile, APathThatCannotBeWrittenIsReportedOnce) {
  TestSupport::ScratchFolder folder;
  const std::wstring missing = folder / L"no such folder" + std::wstring(1, L'/') + L"x.log";
  Utils::DebugLogCapture capture;
  EXPECT_FALSE(Utils::AppendLogTo(missing));
  EXPECT_EQ(capture.LinesContaining(L"cannot be written").size(), 1u);
  UTILS_LOG(L"after the failure");
  EXPECT_EQ(capture.LinesContaining(L"after the failure").size(), 1u);
}

// An elevated writer must not be led into another file by a link planted at the path.
TEST(LogFile, ALinkAtThePathIsRefused) {
  TestSupport::ScratchFolder folder;
  const std::wstring target = folder / L"target.txt";
  TestSupport::WriteFile(target, "keep");
  const std::wstring link = folder / L"linked.log";
  std::error_code error;
  std::filesystem::create_hard_link(TestSupport::FsPath(target), TestSupport::FsPath(link), error);
  ASSERT_FALSE(error) << error.message();
  EXPECT_FALSE(Utils::AppendLogTo(link));
  UTILS_LOG(L"a line that must not reach the target");
  EXPECT_EQ(ReadAll(target), "keep");
}

}  // namespace
