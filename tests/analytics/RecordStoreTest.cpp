#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "analytics/RecordStore.h"
#include "analytics/Sdk.h"
#include "tests/support/TestFiles.h"
#include "utils/Encoding.h"

namespace {

using zk_analytics::RecordStore;
using zk_analytics::SenderConfig;

std::string Rec(int n) { return "{\"n\":" + std::to_string(n) + "}"; }

std::string Batch(int from, int to) {  // records from..to-1
  std::string out = "[";
  for (int i = from; i < to; ++i) out += (i == from ? "" : ",") + Rec(i);
  return out + "]";
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A store whose sender records batches and answers as told.
class Store : public testing::Test {
 protected:
  Store()
      : staging_(Utils::ToNarrow(folder_ / L"staged.txt", Utils::kCodePageAnsi)),
        store_({"http://unused.invalid/", {}}, staging_,
               [this](const SenderConfig&, const std::string& batch) {
                 sent_.push_back(batch);
                 if (duringSend_) duringSend_();
                 return succeed_;
               }) {}

  void AddRange(int from, int to) {
    for (int i = from; i < to; ++i) store_.AddJson(Rec(i));
  }
  std::vector<std::string> Range(int from, int to) {
    std::vector<std::string> out;
    for (int i = from; i < to; ++i) out.push_back(Rec(i));
    return out;
  }

  TestSupport::ScratchFolder folder_{L"store"};
  std::string staging_;
  std::vector<std::string> sent_;
  bool succeed_ = true;
  std::function<void()> duringSend_;
  RecordStore store_;
};

TEST_F(Store, TheRecordBeyondCapacityDropsTheOldest) {
  AddRange(0, 1025);
  const auto queued = store_.Snapshot();
  ASSERT_EQ(queued.size(), 1024u);
  EXPECT_EQ(queued.front(), Rec(1));
  EXPECT_EQ(queued.back(), Rec(1024));
}

TEST_F(Store, FlushSendsBatchesOfThirtyInQueueOrder) {
  AddRange(0, 75);
  EXPECT_TRUE(store_.FlushAll());
  EXPECT_EQ(sent_, (std::vector<std::string>{Batch(0, 30), Batch(30, 60), Batch(60, 75)}));
  EXPECT_TRUE(store_.Snapshot().empty());
  EXPECT_TRUE(store_.FlushAll());
  EXPECT_EQ(sent_.size(), 3u);
}

TEST_F(Store, AFailedBatchStopsTheFlushAndReturnsToTheFront) {
  AddRange(0, 75);
  succeed_ = false;
  EXPECT_FALSE(store_.FlushAll());
  EXPECT_EQ(sent_, std::vector<std::string>{Batch(0, 30)});
  EXPECT_EQ(store_.Snapshot(), Range(0, 75));
}

TEST_F(Store, AFailedBatchKeepsOnlyItsNewestRecordsThatStillFit) {
  AddRange(0, 1020);  // 990 stay queued while the first 30 are out
  succeed_ = false;
  duringSend_ = [this] { AddRange(2000, 2020); };
  EXPECT_FALSE(store_.FlushPart());
  const auto queued = store_.Snapshot();
  ASSERT_EQ(queued.size(), 1024u);
  std::vector<std::string> expected = Range(16, 1020);  // 14 of the batch back, 1024 - 1010
  const auto added = Range(2000, 2020);
  expected.insert(expected.end(), added.begin(), added.end());
  EXPECT_EQ(queued, expected);
}

TEST_F(Store, ASenderThatThrowsCountsAsAFailedSendAndLosesNothing) {
  AddRange(0, 3);
  duringSend_ = [] { throw std::runtime_error("boom"); };
  testing::internal::CaptureStderr();
  EXPECT_FALSE(store_.FlushAll());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Exception when flush failed: (boom) \n");
  EXPECT_EQ(store_.Snapshot(), Range(0, 3));
}

// A line that is not one valid record would have the collector refuse every
// batch it travels in: it is dropped when the file is loaded.
TEST_F(Store, StagingLoadsOnlyValidRecordLinesOnceAndEmptiesTheFile) {
  TestSupport::WriteFile(Utils::ToWide(staging_, Utils::kCodePageAnsi),
                         "{\"a\":1}\r\n\r\nplain text\r\n{\"b\":2\r\n[1]\n{\"raw\":\"a\x01z\"}\r\n{}{}\r\n"
                         "{\"big\":\"" + std::string(2 << 20, 'x') + "\"}\r\n{\"c\":3}");
  AddRange(0, 2);
  store_.LoadStaged();
  EXPECT_EQ(store_.Snapshot(), (std::vector<std::string>{"{\"a\":1}", "{\"c\":3}", Rec(0), Rec(1)}));
  EXPECT_EQ(ReadAll(staging_), "");
  TestSupport::WriteFile(Utils::ToWide(staging_, Utils::kCodePageAnsi), "{\"late\":1}\r\n");
  store_.LoadStaged();
  EXPECT_EQ(store_.Snapshot().size(), 4u);
}

TEST_F(Store, StagingKeepsTheNewestLinesThatFit) {
  std::string lines;
  for (int i = 0; i < 2000; ++i) lines += Rec(i) + "\r\n";
  TestSupport::WriteFile(Utils::ToWide(staging_, Utils::kCodePageAnsi), lines);
  EXPECT_TRUE(store_.FlushPart());
  // The first flush merged the file: 1024 - 30 sent = 994 left, starting at 976 + 30.
  ASSERT_EQ(sent_.size(), 1u);
  EXPECT_EQ(sent_[0], Batch(976, 1006));
  EXPECT_EQ(store_.Snapshot(), Range(1006, 2000));
}

TEST_F(Store, ClosingWritesTheQueueAsCrLfLines) {
  AddRange(0, 3);
  store_.Close();
  EXPECT_EQ(ReadAll(staging_), Rec(0) + "\r\n" + Rec(1) + "\r\n" + Rec(2) + "\r\n");
}

TEST_F(Store, AStagingFileThatCannotBeOpenedIsTreatedAsEmpty) {
  RecordStore store({"http://unused.invalid/", {}},
                    Utils::ToNarrow(folder_ / L"missing", Utils::kCodePageAnsi) + "/x/staged.txt",
                    [](const SenderConfig&, const std::string&) { return true; });
  store.AddJson(Rec(1));
  store.LoadStaged();
  store.Close();
  EXPECT_EQ(store.Snapshot(), std::vector<std::string>{Rec(1)});
}

TEST(SdkRestart, RecordsQueuedBeforeShutdownAreSentFirstAfterTheNextStart) {
  TestSupport::ScratchFolder folder(L"restart");
  const std::string staging = Utils::ToNarrow(folder / L"staged.txt", Utils::kCodePageAnsi);
  std::vector<std::string> sent;
  bool succeed = false;
  const auto sender = [&](const SenderConfig&, const std::string& batch) {
    sent.push_back(batch);
    return succeed;
  };
  zk_analytics::Sdk::Shutdown();
  ASSERT_TRUE(zk_analytics::Sdk::InitWithSender(staging, "http://unused.invalid/", "D", false, sender));
  zk_analytics::Sdk::Track("Before1");
  zk_analytics::Sdk::Track("Before2");
  EXPECT_FALSE(zk_analytics::Sdk::Flush());
  zk_analytics::Sdk::Shutdown();
  const std::string saved = ReadAll(staging);
  EXPECT_LT(saved.find("\"Before1\""), saved.find("\"Before2\""));
  EXPECT_NE(saved.find("\"Before2\""), std::string::npos);

  sent.clear();
  succeed = true;
  ASSERT_TRUE(zk_analytics::Sdk::InitWithSender(staging, "http://unused.invalid/", "D", false, sender));
  zk_analytics::Sdk::Track("After");
  EXPECT_TRUE(zk_analytics::Sdk::Flush());
  zk_analytics::Sdk::Shutdown();
  ASSERT_EQ(sent.size(), 1u);
  const size_t b1 = sent[0].find("\"Before1\""), b2 = sent[0].find("\"Before2\""),
               after = sent[0].find("\"After\"");
  ASSERT_NE(after, std::string::npos);
  EXPECT_LT(b1, b2);
  EXPECT_LT(b2, after);
  EXPECT_EQ(ReadAll(staging), "");
}

}  // namespace
