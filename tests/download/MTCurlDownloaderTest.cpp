// The segmented downloader against nginx and the fault server.
#include <filesystem>
#include <fstream>

#include "download/MTCurlDownloader.h"
#include "download/RetryBudget.h"
#include "tests/download/DownloadFixture.h"
#include "utils/Folders.h"

namespace {

using Codes = std::vector<Status>;
constexpr unsigned kPause = CMTCurlDownloader::kRetryPauseMs;

// A 21,000,000-byte file whose first 26 GET requests each break after
// 200,000 bytes: each of its two segments spends its whole budget on 13 such
// connections, so the first run asks for a retry with 2,600,000 bytes of each
// segment on disk, and every later request succeeds.
constexpr long long kBrokenLength = 21000000;
constexpr long long kBreakAfter = 200000;
constexpr long long kAttemptsPerRun = RetryBudget::kTotal + 1;  // a break costs one
constexpr long long kKeptPerSegment = kAttemptsPerRun * kBreakAfter;

class Segmented : public DownloadTest {
 protected:
  auto Make(const std::wstring& url) {
    return [this, url](StatusCallback callback) {
      return std::make_unique<CMTCurlDownloader>(callback, url.c_str(), target_.c_str());
    };
  }
  Codes Download(const std::wstring& url) { return DownloadRun().Run(Make(url)); }
  std::wstring Segment(int index) const { return target_ + L"_" + std::to_wstring(index); }
  std::wstring BrokenFirstRun(const std::wstring& name) const {
    return servers_.Generated(kBrokenLength, name,
                              L"drop" + std::to_wstring(kBreakAfter) + L"x" + std::to_wstring(2 * kAttemptsPerRun));
  }
  // Progress is reported at most once a second, and only a run that reported
  // some keeps its segment files for the restart: the first pause of each
  // segment lasts over a second on the clock, the others nothing.
  static void FirstPausesOverASecond(size_t number, unsigned, const std::atomic<bool>* stop) {
    if (number <= 2) Utils::Clock().Pause(1100, stop);
  }
  long long SizeOf(const std::wstring& path) const {
    std::error_code error;
    const auto size = std::filesystem::file_size(TestSupport::FsPath(path), error);
    return error ? -1 : static_cast<long long>(size);
  }
};

void InvertByte(const std::wstring& path, long long offset) {
  std::fstream file(TestSupport::FsPath(path), std::ios::in | std::ios::out | std::ios::binary);
  file.seekg(offset);
  const char byte = static_cast<char>(~file.get());
  file.seekp(offset);
  file.put(byte);
}

void Append(const std::wstring& path, const std::string& bytes) {
  std::ofstream(TestSupport::FsPath(path), std::ios::binary | std::ios::app) << bytes;
}

TEST_F(Segmented, FetchesTwoRangesAndMergesThem) {
  const Codes codes = Download(servers_.Nginx(servers_.Value("PAYLOAD_PATH")));
  ASSERT_GE(codes.size(), 2u);
  EXPECT_EQ(codes.front(), (Status{DL_CODE_START, 1, L""}));
  EXPECT_EQ(codes.back(), (Status{DL_CODE_SUCCESS, 0, L"LibCurl"}));
  double last = 0;
  for (size_t i = 1; i + 1 < codes.size(); ++i) {
    EXPECT_EQ(codes[i].code, DL_CODE_PROGRESS);
    EXPECT_GE(codes[i].value - last, 0.01);  // a whole percentage point each time
    last = codes[i].value;
  }
  EXPECT_EQ(Utils::ToWide(TargetMd5(), 65001), servers_.Value("PAYLOAD_MD5"));
  EXPECT_FALSE(Utils::PathExists(Segment(0)));
  EXPECT_FALSE(Utils::PathExists(Segment(1)));
}

TEST_F(Segmented, AServerThatCompressesWhenAllowedSendsThePackageAsItIs) {
  const std::wstring path = servers_.Value("PAYLOAD_PATH");
  EXPECT_EQ(DownloadRun::WithoutProgress(Download(servers_.Nginx(L"/gzip/" + path.substr(7)))),
            (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_SUCCESS, 0, L"LibCurl"}}));
  EXPECT_EQ(Utils::ToWide(TargetMd5(), Utils::kCodePageUtf8), servers_.Value("PAYLOAD_MD5"));
}

TEST_F(Segmented, TheSizeFloorIs256Bytes) {
  EXPECT_EQ(DownloadRun::WithoutProgress(Download(servers_.Generated(256, L"tiny.bin"))),
            (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_SUCCESS, 0, L"LibCurl"}}));
  EXPECT_EQ(TargetMd5(), servers_.Md5Of(256));
  EXPECT_EQ(Download(servers_.Generated(255, L"smaller.bin")),
            (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_FAIL, 0, L"LibCurl"}}));
}

TEST_F(Segmented, ARangeAnsweredWithTheWholeFileIsRefused) {
  const Codes codes = DownloadRun::WithoutProgress(
      Download(servers_.Generated(21000000, L"norange.bin", L"norange")));
  EXPECT_EQ(codes, (Codes{{DL_CODE_START, 1, L""},
                          {DL_CODE_RETRY, CURLE_WRITE_ERROR, L"LibCurl"},
                          {DL_CODE_START, 1, L""},
                          {DL_CODE_FAIL, CURLE_WRITE_ERROR, L"LibCurl"}}));
  EXPECT_FALSE(Utils::PathExists(target_));
}

TEST_F(Segmented, DigestMismatchRetriesOnceThenFails) {
  const Codes codes =
      DownloadRun::WithoutProgress(Download(servers_.Fault(L"/gen/300000/" + std::wstring(32, L'f') + L"/x.bin")));
  EXPECT_EQ(codes, (Codes{{DL_CODE_START, 1, L""},
                          {DL_CODE_NOTICE, 0, L"mtcurl文件md5校验失败"},
                          {DL_CODE_RETRY, 0, L"LibCurl"},
                          {DL_CODE_START, 1, L""},
                          {DL_CODE_NOTICE, 0, L"mtcurl文件md5校验失败"},
                          {DL_CODE_FAIL, 0, L"LibCurl"}}));
  EXPECT_FALSE(Utils::PathExists(target_));
}

TEST_F(Segmented, NoDigestIsANotice) {
  EXPECT_EQ(DownloadRun::WithoutProgress(Download(servers_.Fault(L"/gen/4000/none/x.bin"))),
            (Codes{{DL_CODE_START, 1, L""},
                   {DL_CODE_NOTICE, 0, L"mtcurl获取url-md5失败"},
                   {DL_CODE_SUCCESS, 0, L"LibCurl"}}));
}

TEST_F(Segmented, AStalledTransferTimesOutAndResumes) {
  const Codes codes = DownloadRun::WithoutProgress(
      Download(servers_.Generated(3000000, L"stall.bin", L"slow7x1")));
  EXPECT_EQ(codes, (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_SUCCESS, 0, L"LibCurl"}}));
  EXPECT_EQ(TargetMd5(), servers_.Md5Of(3000000));
}

TEST_F(Segmented, DroppedConnectionsResumeWhereTheyStopped) {
  const Codes codes = DownloadRun::WithoutProgress(
      Download(servers_.Generated(22000000, L"drop.bin", L"drop3000000x4")));
  EXPECT_EQ(codes, (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_SUCCESS, 0, L"LibCurl"}}));
  EXPECT_EQ(TargetMd5(), servers_.Md5Of(22000000));
}

// After a failed run that made progress the segment files stay, and the
// restart asks only for what they lack: a byte changed on disk in between
// reaches the merged file, which then fails the digest.
TEST_F(Segmented, ARetryAfterProgressResumesFromTheSegmentFiles) {
  struct Case {
    const wchar_t* name;
    int changedSegment;  // -1: none
    Codes afterRetry;
  };
  const Codes mismatch{{DL_CODE_START, 1, L""},
                       {DL_CODE_NOTICE, 0, L"mtcurl文件md5校验失败"},
                       {DL_CODE_FAIL, 0, L"LibCurl"}};
  const Case cases[] = {
      {L"resume.bin", -1, {{DL_CODE_START, 1, L""}, {DL_CODE_SUCCESS, 0, L"LibCurl"}}},
      {L"resume0.bin", 0, mismatch},
      {L"resume1.bin", 1, mismatch}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.changedSegment);
    const std::wstring url = BrokenFirstRun(c.name);
    std::vector<long long> kept;
    const TestSupport::CountingSleeper sleeper(FirstPausesOverASecond);
    DownloadRun run;
    run.BeforeRestart([&] {
      kept = {SizeOf(Segment(0)), SizeOf(Segment(1))};
      if (c.changedSegment >= 0) InvertByte(Segment(c.changedSegment), 1000);
    });
    Codes expected{{DL_CODE_START, 1, L""}, {DL_CODE_RETRY, CURLE_PARTIAL_FILE, L"LibCurl"}};
    expected.insert(expected.end(), c.afterRetry.begin(), c.afterRetry.end());
    EXPECT_EQ(DownloadRun::WithoutProgress(run.Run(Make(url))), expected);
    EXPECT_EQ(kept, (std::vector<long long>{kKeptPerSegment, kKeptPerSegment}));
    EXPECT_EQ(servers_.GetRequests(url), 2 * kAttemptsPerRun + 2);  // one more per segment
    EXPECT_EQ(sleeper.Pauses(), Pauses(2 * (kAttemptsPerRun - 1), kPause));  // none after a last attempt
    if (c.changedSegment < 0) {
      EXPECT_EQ(TargetMd5(), servers_.Md5Of(kBrokenLength));
    } else {
      EXPECT_FALSE(Utils::PathExists(target_));
    }
    EXPECT_FALSE(Utils::PathExists(Segment(0)));
    EXPECT_FALSE(Utils::PathExists(Segment(1)));
  }
}

// A segment already whole on disk when the restarted run begins is not asked
// for again; the other one resumes and the merged file is right.
// A run that ends in failure after progress leaves no segment files behind:
// up to the package's size twice in the install folder.
TEST_F(Segmented, ARunEndingInFailureLeavesNoSegmentFiles) {
  const Codes codes = DownloadRun::WithoutProgress(
      Download(servers_.Generated(kBrokenLength, L"broken.bin", L"drop" + std::to_wstring(kBreakAfter))));
  EXPECT_EQ(codes, (Codes{{DL_CODE_START, 1, L""},
                          {DL_CODE_RETRY, CURLE_PARTIAL_FILE, L"LibCurl"},
                          {DL_CODE_START, 1, L""},
                          {DL_CODE_FAIL, CURLE_PARTIAL_FILE, L"LibCurl"}}));
  EXPECT_FALSE(Utils::PathExists(Segment(0)));
  EXPECT_FALSE(Utils::PathExists(Segment(1)));
  EXPECT_FALSE(Utils::PathExists(target_));
  EXPECT_EQ(sleeper_.Pauses(), Pauses(2 * 2 * (kAttemptsPerRun - 1), kPause));  // two runs of two segments
}

TEST_F(Segmented, ASegmentWholeOnDiskIsNotFetchedAgain) {
  const auto plan = CMTCurlDownloader::PlanSegments(kBrokenLength);
  for (int whole : {1, 0}) {
    SCOPED_TRACE(whole);
    const std::wstring url = BrokenFirstRun(L"whole" + std::to_wstring(whole) + L".bin");
    const TestSupport::CountingSleeper sleeper(FirstPausesOverASecond);
    DownloadRun run;
    run.BeforeRestart([&] {
      const std::wstring segment = Segment(whole);
      Append(segment, servers_.GeneratedBytes(plan[whole].first + SizeOf(segment), plan[whole].last));
    });
    EXPECT_EQ(DownloadRun::WithoutProgress(run.Run(Make(url))),
              (Codes{{DL_CODE_START, 1, L""},
                     {DL_CODE_RETRY, CURLE_PARTIAL_FILE, L"LibCurl"},
                     {DL_CODE_START, 1, L""},
                     {DL_CODE_SUCCESS, 0, L"LibCurl"}}));
    EXPECT_EQ(TargetMd5(), servers_.Md5Of(kBrokenLength));
    EXPECT_EQ(servers_.GetRequests(url), 2 * kAttemptsPerRun + 1);
  }
}

// Destroyed while starting up or while its transfers stall (every GET stalls
// after its first block): the destructor ends the transfers itself rather than
// waiting for libcurl's 5-second stall detection and the retries after it,
// joins every thread and reports nothing more.
TEST_F(Segmented, DestroyedMidTransferStopsAndFallsSilent) {
  struct Case {
    long long length;
    int segments;
    bool waitForTransfers;
  };
  const Case cases[] = {{3000000, 1, false}, {3000000, 1, true}, {21000000, 2, false}, {21000000, 2, true}};
  int index = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.length << (c.waitForTransfers ? " stalled" : " starting"));
    const std::wstring url = servers_.Generated(c.length, L"stop" + std::to_wstring(index++) + L".bin", L"slow60");
    StatusLog log;
    EXPECT_LT(DestroyWhileRunning<CMTCurlDownloader>(url, c.waitForTransfers ? c.segments : 0, log), 5000);
    for (const Status& s : log.Entries()) {
      EXPECT_TRUE(s.code == DL_CODE_START || s.code == DL_CODE_PROGRESS) << s.code;
    }
    EXPECT_FALSE(Utils::PathExists(Segment(0)));
    EXPECT_FALSE(Utils::PathExists(Segment(1)));
  }
}

// A failure of another kind costs two of a segment's budget: six transfers
// answered 500 leave it a seventh attempt, seven end the segment and the run
// asks for its retry, whose first attempt is answered.
TEST_F(Segmented, SevenFailedTransfersOfAnotherKindEndASegment) {
  struct Case {
    int failures;
    Codes codes;
  };
  const Case cases[] = {
      {6, {{DL_CODE_START, 1, L""}, {DL_CODE_SUCCESS, 0, L"LibCurl"}}},
      {7, {{DL_CODE_START, 1, L""},
           {DL_CODE_RETRY, CURLE_HTTP_RETURNED_ERROR, L"LibCurl"},
           {DL_CODE_START, 1, L""},
           {DL_CODE_SUCCESS, 0, L"LibCurl"}}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failures);
    const std::wstring url = servers_.Generated(300000, L"e" + std::to_wstring(c.failures) + L".bin",
                                                L"status500x" + std::to_wstring(c.failures));
    const TestSupport::CountingSleeper sleeper;
    EXPECT_EQ(DownloadRun::WithoutProgress(Download(url)), c.codes);
    EXPECT_EQ(sleeper.Pauses(), Pauses(6, kPause));
    EXPECT_EQ(servers_.GetRequests(url), c.failures + 1);
    EXPECT_EQ(TargetMd5(), servers_.Md5Of(300000));
  }
}

TEST_F(Segmented, AProbeFailureIsFinal) {
  for (const std::wstring& url : {servers_.Generated(5000, L"e.bin", L"status500"),
                                  std::wstring(L"http://127.0.0.1:9/files/x/y.bin")}) {
    EXPECT_EQ(Download(url), (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_FAIL, 0, L"LibCurl"}}));
  }
  EXPECT_TRUE(sleeper_.Pauses().empty());
}

}  // namespace
