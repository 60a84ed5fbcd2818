// The child's output as bytes that arrive in pieces of any size.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "package/ChildOutput.h"
#include "tests/package/StatusLog.h"

namespace {

using namespace std::string_literals;

struct Read {
  std::vector<Status> codes;
  bool outcomeSeen;
};

Read Feed(ChildKind kind, const std::vector<std::string>& pieces) {
  StatusLog log;
  ChildOutput output(kind, log.Callback());
  for (const std::string& piece : pieces) output.Feed(piece.data(), piece.size());
  output.Finish();
  return {log.Entries(), output.OutcomeSeen()};
}

struct PiecesCase {
  const char* name;
  ChildKind kind;
  std::vector<std::string> pieces;
  std::vector<Status> codes;
};

void PrintTo(const PiecesCase& c, std::ostream* out) { *out << c.name; }

class Pieces : public testing::TestWithParam<PiecesCase> {};

TEST_P(Pieces, GiveTheCodesOfWholeLines) {
  const Read run = Feed(GetParam().kind, GetParam().pieces);
  EXPECT_EQ(run.codes, GetParam().codes);
}

const ChildKind U = ChildKind::Uninstaller;
const ChildKind P = ChildKind::Package;
const std::wstring kInstallFailed = L"安装包安装失败";

INSTANTIATE_TEST_SUITE_P(
    Output, Pieces,
    testing::Values(
        PiecesCase{"LineCutBetweenPieces", P,
                   {"Progress=0.", "5\nInstPa", "th=C:\\V\n", "State=Fa", "il\n"},
                   {{2002, 0.5, L""}, {3000, 0, L"C:\\V"}, {2004, 0, kInstallFailed}}},
        PiecesCase{"CrLfEndsALine", P, {"InstPath=C:\\V\r\nExePath=C:\\V\\q.exe\r\r\n"},
                   {{3000, 0, L"C:\\V"}, {3001, 0, L"C:\\V\\q.exe"}}},
        PiecesCase{"CrAndLfInDifferentPieces", P, {"InstPath=C:\\V\r", "\nState=Success\r\n"},
                   {{3000, 0, L"C:\\V"}, {2003, 0, L""}}},
        PiecesCase{"WhatIsLeftAtTheEndIsTheLastLine", P, {"Progress=1\nState=Fa", "il"},
                   {{2002, 1, L""}, {2004, 0, kInstallFailed}}},
        PiecesCase{"EmptyLinesAndNothingAtTheEnd", U, {"\n\r\n", "Progress=5\n"}, {{5002, 5, L""}}},
        // The line completes after the Encode= line, so it decodes with 936,
        // though its first byte arrived in the same piece.
        PiecesCase{"CodePageOfTheLineWhenItCompletes", P,
                   {"Encode=936\nMessage=\xB0", "\xB2\xD7\xB0\n"}, {{3009, 0, L"安装"}}},
        PiecesCase{"UndecodableCodePageKeepsTheOutcome", P, {"Encode=12345\n", "State=Fail\n"},
                   {{2004, 0, kInstallFailed}}},
        PiecesCase{"UninstallerOutcomeIsTheFirst", U, {"State=Success\nError=late\nProgress=9\n"},
                   {{5003, 0, L""}}},
        PiecesCase{"PackageOutcomeIsTheFirst", P, {"State=Fail\n", "State=Success\nMessage=x\n"},
                   {{2004, 0, kInstallFailed}}},
        PiecesCase{"NulEndsALinesText", P, {"Message=ab\0cd\nMessage=ef\n"s},
                   {{3009, 0, L"ab"}, {3009, 0, L"ef"}}},
        PiecesCase{"OverlongLineKeepsItsBeginning", P,
                   {"Message=" + std::string(ChildOutput::kMaxLineBytes, 'm'),
                    std::string(ChildOutput::kMaxLineBytes, 'm') + "\nState=Success\n"},
                   {{3009, 0, std::wstring(OutputInterpreter::kMaxTextLength, L'm')},
                    {2003, 0, L""}}}));

TEST(ChildOutput, AByteAtATimeGivesWhatOnePieceGives) {
  const std::string bytes =
      "Encode=UTF8\r\nProgress=0.25\nInstPath=C:\\V \xE5\xAE\x89\r\n"
      "Message=\xE6\x96\x87\nState=Success";
  std::vector<std::string> oneByteEach;
  for (const char c : bytes) oneByteEach.emplace_back(1, c);
  const Read whole = Feed(P, {bytes});
  EXPECT_EQ(whole.codes, (std::vector<Status>{{2002, 0.25, L""},
                                              {3000, 0, L"C:\\V 安"},
                                              {3009, 0, L"文"},
                                              {2003, 0, L""}}));
  EXPECT_EQ(Feed(P, oneByteEach).codes, whole.codes);
}

TEST(ChildOutput, KnowsWhetherAnOutcomeWasSeen) {
  EXPECT_FALSE(Feed(P, {"Progress=1\nState=Maybe\n"}).outcomeSeen);
  EXPECT_TRUE(Feed(P, {"Error=x"}).outcomeSeen);
  EXPECT_TRUE(Feed(U, {"State=Success\n"}).outcomeSeen);
}

TEST(ChildOutput, ALineIsInterpretedOnlyOnceItsFeedArrives) {
  StatusLog log;
  ChildOutput output(P, log.Callback());
  const std::string part = "InstPath=C:\\Program Files (x86";
  output.Feed(part.data(), part.size());
  EXPECT_TRUE(log.Entries().empty());
  const std::string rest = ")\\Quorvane\n";
  output.Feed(rest.data(), rest.size());
  EXPECT_EQ(log.Entries(), (std::vector<Status>{{3000, 0, L"C:\\Program Files (x86)\\Quorvane"}}));
}

}  // namespace
