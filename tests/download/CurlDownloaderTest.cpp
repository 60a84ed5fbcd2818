// The single-connection downloader against nginx and the fault server.
#include <cwctype>

#include "download/CurlDownloader.h"
#include "tests/download/DownloadFixture.h"
#include "utils/File.h"
#include "utils/Folders.h"
#include "utils/Log.h"

namespace {

using Codes = std::vector<Status>;
constexpr unsigned kPause = CCurlDownloader::kRetryPauseMs;

class SingleConnection : public DownloadTest {
 protected:
  Codes Download(const std::wstring& url) {
    return DownloadRun().Run([&](StatusCallback callback) {
      return std::make_unique<CCurlDownloader>(callback, url.c_str(), target_.c_str());
    });
  }
};

TEST_F(SingleConnection, FetchesThePackageBehindTheRedirect) {
  const Codes codes = Download(servers_.Nginx(L"/software/216"));
  ASSERT_GE(codes.size(), 2u);
  EXPECT_EQ(codes.front(), (Status{DL_CODE_START, 1, L""}));
  EXPECT_EQ(codes.back(), (Status{DL_CODE_SUCCESS, 0, L"LibCurl"}));
  for (size_t i = 1; i + 1 < codes.size(); ++i) {
    EXPECT_EQ(codes[i].code, DL_CODE_PROGRESS);
    EXPECT_GT(codes[i].value, 0.0);
    EXPECT_LE(codes[i].value, 1.0);
  }
  EXPECT_EQ(Utils::ToWide(TargetMd5(), 65001), servers_.Value("PACKAGE_MD5"));
  EXPECT_FALSE(Utils::PathExists(target_ + L".part"));
}

TEST_F(SingleConnection, TheSizeFloorIsOneMebibyte) {
  EXPECT_EQ(DownloadRun::WithoutProgress(Download(servers_.Generated(1048576, L"exact.bin"))),
            (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_SUCCESS, 0, L"LibCurl"}}));
  EXPECT_EQ(TargetMd5(), servers_.Md5Of(1048576));

  const Codes small = Download(servers_.Generated(1048575, L"small.bin"));
  EXPECT_EQ(small, (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_FAIL, -998, L"LibCurl"}}));
}

TEST_F(SingleConnection, HeadRefusedReportsTheStatusTwicePerAttempt) {
  const Codes codes = Download(servers_.Generated(2000000, L"nohead.bin", L"head405"));
  EXPECT_EQ(codes, (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_FAIL, -998, L"LibCurl"}}));
  const auto reports = Reports();
  EXPECT_EQ(reports.size(), 12u);  // two probes in each of six attempts
  for (const auto& report : reports) EXPECT_EQ(report, L"下载失败原因:1.获取文件大小的状态码为=405；");
  EXPECT_EQ(sleeper_.Pauses(), Pauses(5, kPause));
}

TEST_F(SingleConnection, SixConnectionFailuresEndInOneFailure) {
  Utils::DebugLogCapture capture;
  const Codes codes = Download(L"http://127.0.0.1:9/files/x/y.bin");
  EXPECT_EQ(codes, (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_FAIL, -998, L"LibCurl"}}));
  EXPECT_EQ(capture.LinesContaining(L"CurlDownLoader Code=-998").size(), 5u);
  EXPECT_EQ(sleeper_.Pauses(), Pauses(5, kPause));
}

TEST_F(SingleConnection, ElevenPartialFilesThenSuccessResumesEachTime) {
  const Codes codes = Download(servers_.Generated(1500000, L"drops.bin", L"drop50000x11"));
  EXPECT_EQ(DownloadRun::WithoutProgress(codes),
            (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_SUCCESS, 0, L"LibCurl"}}));
  EXPECT_EQ(TargetMd5(), servers_.Md5Of(1500000));
  EXPECT_EQ(sleeper_.Pauses(), Pauses(11, kPause));
}

// A failure of another kind costs twice a partial file's share of the budget:
// five transfers answered 500 still leave a sixth attempt, six do not.
TEST_F(SingleConnection, SixFailedTransfersOfAnotherKindExhaustTheBudget) {
  struct Case {
    int failures;
    Status last;
  };
  const Case cases[] = {{5, {DL_CODE_SUCCESS, 0, L"LibCurl"}}, {6, {DL_CODE_FAIL, CURLE_HTTP_RETURNED_ERROR, L"LibCurl"}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failures);
    const std::wstring url = servers_.Generated(1500000, L"e" + std::to_wstring(c.failures) + L".bin",
                                                L"status500x" + std::to_wstring(c.failures));
    const TestSupport::CountingSleeper sleeper;
    EXPECT_EQ(DownloadRun::WithoutProgress(Download(url)), (Codes{{DL_CODE_START, 1, L""}, c.last}));
    EXPECT_EQ(sleeper.Pauses(), Pauses(5, kPause));
    EXPECT_EQ(servers_.GetRequests(url), c.failures + (c.failures < 6 ? 1 : 0));
  }
}

// A server that compresses whenever the request allows it: the package is
// asked for, and stored, as it is.
TEST_F(SingleConnection, AServerThatCompressesWhenAllowedSendsThePackageAsItIs) {
  const std::wstring path = servers_.Value("PAYLOAD_PATH");
  EXPECT_EQ(DownloadRun::WithoutProgress(Download(servers_.Nginx(L"/gzip/" + path.substr(7)))),
            (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_SUCCESS, 0, L"LibCurl"}}));
  EXPECT_EQ(Utils::ToWide(TargetMd5(), Utils::kCodePageUtf8), servers_.Value("PAYLOAD_MD5"));
}

// A server or proxy that ignores ranges answers the resume with the whole
// body: the part file is dropped and the next attempt starts from zero.
TEST_F(SingleConnection, AResumeThatMeetsAServerIgnoringRangesStartsAgainFromZero) {
  const std::wstring url = servers_.Generated(1500000, L"norange.bin", L"drop500000x1,norange");
  EXPECT_EQ(DownloadRun::WithoutProgress(Download(url)),
            (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_SUCCESS, 0, L"LibCurl"}}));
  EXPECT_EQ(TargetMd5(), servers_.Md5Of(1500000));
  EXPECT_EQ(servers_.GetRequests(url), 3);  // cut, ignored range, whole body
}

// Half a minute below a byte per second gives a transfer up; the next attempt
// resumes from the part file.
TEST_F(SingleConnection, AStalledTransferIsGivenUpAndResumed) {
  const std::wstring url = servers_.Generated(1500000, L"stall.bin", L"slow45x1");
  const Codes codes = Download(url);
  EXPECT_EQ(DownloadRun::WithoutProgress(codes),
            (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_SUCCESS, 0, L"LibCurl"}}));
  EXPECT_EQ(TargetMd5(), servers_.Md5Of(1500000));
  EXPECT_EQ(servers_.GetRequests(url), 2);
}

// A server that never answers the size probe fails it instead of holding the
// run (and the installer's progress page) for ever.
TEST_F(SingleConnection, AProbeNobodyAnswersFails) {
  const std::wstring url = servers_.Generated(1500000, L"mute.bin", L"mute45");
  CurlClient client(url, target_, nullptr, nullptr);
  EXPECT_LT(client.GetDownloadFileLength_Str(Utils::ToNarrow(url, Utils::kCodePageUtf8)), 0.0);
}

// Offsets beyond 32 bits: a part file of more than 4 GiB (sparse, so it costs
// no disk) is resumed with one ranged request for the missing tail only, and
// the digest covers the whole file.
TEST_F(SingleConnection, ResumesAPartFileBeyondFourGibibytesFetchingOnlyTheTail) {
  const std::wstring path = servers_.Value("LARGE_PATH");
  ASSERT_FALSE(path.empty()) << "the download servers were started without --large";
  const long long length = std::stoll(servers_.Value("LARGE_LENGTH"));
  const long long kept = std::stoll(servers_.Value("LARGE_HOLE")) - 512 * 1024;
  ASSERT_GT(kept, 1LL << 32);
  CurlClient client(servers_.Nginx(path), target_, nullptr, [](void*, double, double, double) {});
  ASSERT_TRUE(TestSupport::MakeSparseFile(client.GetFilePath(true), kept));

  EXPECT_EQ(client.Start(), 0);
  EXPECT_EQ(Utils::FileSize(target_), length);
  EXPECT_EQ(Utils::ToWide(client.Digest(), Utils::kCodePageUtf8), servers_.Value("LARGE_MD5"));
  EXPECT_EQ(servers_.NginxGets(path), (std::vector<TestSupport::DownloadServers::Answer>{{206, length - kept}}));
}

TEST_F(SingleConnection, TwelvePartialFilesExhaustTheBudget) {
  const Codes codes = Download(servers_.Generated(1500000, L"drops12.bin", L"drop1000x12"));
  EXPECT_EQ(DownloadRun::WithoutProgress(codes),
            (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_FAIL, CURLE_PARTIAL_FILE, L"LibCurl"}}));
  EXPECT_EQ(sleeper_.Pauses(), Pauses(11, kPause));
}

TEST_F(SingleConnection, DigestMismatchRetriesOnceThenFails) {
  for (const std::wstring& digest :
       {std::wstring(32, L'0'), Utils::ToWide(servers_.Md5Of(1100000), 65001)}) {
    std::wstring upper = digest;
    for (wchar_t& c : upper) c = static_cast<wchar_t>(std::towupper(c));
    const Codes codes = DownloadRun::WithoutProgress(
        Download(servers_.Fault(L"/gen/1100000/" + upper + L"/bad.bin")));
    EXPECT_EQ(codes, (Codes{{DL_CODE_START, 1, L""},
                            {DL_CODE_NOTICE, 0, L"curl文件md5校验失败"},
                            {DL_CODE_RETRY, 0, L"LibCurl"},
                            {DL_CODE_START, 1, L""},
                            {DL_CODE_NOTICE, 0, L"curl文件md5校验失败"},
                            {DL_CODE_FAIL, 0, L"LibCurl"}}));
  }
}

TEST_F(SingleConnection, NoDigestInTheUrlIsANoticeNotAFailure) {
  const Codes codes = DownloadRun::WithoutProgress(Download(servers_.Fault(L"/gen/1100000/plain/p.bin")));
  EXPECT_EQ(codes, (Codes{{DL_CODE_START, 1, L""},
                          {DL_CODE_NOTICE, 0, L"curl获取url-md5失败"},
                          {DL_CODE_SUCCESS, 0, L"LibCurl"}}));
}

TEST_F(SingleConnection, TheDigestComesFromTheUrlAfterRedirects) {
  const std::wstring url = servers_.Generated(1100000, L"chain.bin");
  const std::wstring chain = servers_.Fault(L"/r/3") + url.substr(servers_.Fault(L"").size());
  EXPECT_EQ(DownloadRun::WithoutProgress(Download(chain)),
            (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_SUCCESS, 0, L"LibCurl"}}));
}

TEST_F(SingleConnection, TenRedirectsAreFollowedNotEleven) {
  const std::wstring url = servers_.Generated(1100000, L"hops.bin");
  const std::wstring rest = url.substr(servers_.Fault(L"").size());
  // /r/K answers with K + 1 redirects.
  EXPECT_EQ(DownloadRun::WithoutProgress(Download(servers_.Fault(L"/r/9") + rest)).back(),
            (Status{DL_CODE_SUCCESS, 0, L"LibCurl"}));
  EXPECT_EQ(DownloadRun::WithoutProgress(Download(servers_.Fault(L"/r/10") + rest)).back(),
            (Status{DL_CODE_FAIL, -998, L"LibCurl"}));
}

TEST_F(SingleConnection, AnEmptyTargetFailsAtOnce) {
  const Codes codes = DownloadRun().Run([&](StatusCallback callback) {
    return std::make_unique<CCurlDownloader>(callback, servers_.Nginx(L"/software/216").c_str(), L"");
  });
  EXPECT_EQ(codes, (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_FAIL, 1, L""}}));
}

// Destroyed while its transfer stalls (every GET stalls after its first
// block): the transfer ends at once instead of running out its retries, and
// the run reports no end of its own to an owner that is tearing it down.
TEST_F(SingleConnection, DestroyedMidTransferStopsAndFallsSilent) {
  for (int gets : {0, 1}) {
    SCOPED_TRACE(gets);
    const std::wstring url = servers_.Generated(3000000, L"stop" + std::to_wstring(gets) + L".bin", L"slow60");
    StatusLog log;
    EXPECT_LT(DestroyWhileRunning<CCurlDownloader>(url, gets, log), 5000);
    for (const Status& s : log.Entries()) {
      EXPECT_TRUE(s.code == DL_CODE_START || s.code == DL_CODE_PROGRESS) << s.code;
    }
  }
}

TEST_F(SingleConnection, ServerErrorStatusesAreNoUsableSize) {
  for (int status : {403, 404, 500}) {
    const Codes codes =
        Download(servers_.Generated(1100000, L"s" + std::to_wstring(status), L"status" + std::to_wstring(status)));
    EXPECT_EQ(codes.back(), (Status{DL_CODE_FAIL, -998, L"LibCurl"})) << status;
  }
}

}  // namespace
