// The system downloader under the URL moniker service, against the test servers.
#include <fstream>
#include <sstream>

#include "download/win32/WinDownloader.h"
#include "tests/download/DownloadFixture.h"
#include "utils/Folders.h"

namespace {

using Codes = std::vector<Status>;

class SystemDownloader : public DownloadTest {
 protected:
  Codes Download(const std::wstring& url, const std::wstring& target) {
    return DownloadRun().Run([&](StatusCallback callback) {
      return std::make_unique<CWinDownloader>(callback, url.c_str(), target.c_str());
    });
  }
};

TEST_F(SystemDownloader, FetchesThePackageWithProgress) {
  const Codes codes = Download(servers_.Nginx(L"/software/216"), target_);
  ASSERT_GE(codes.size(), 2u);
  EXPECT_EQ(codes.front(), (Status{DL_CODE_START, 1, L""}));
  EXPECT_EQ(codes.back(), (Status{DL_CODE_SUCCESS, 0, L"URLDownloadToFile"}));
  for (size_t i = 1; i + 1 < codes.size(); ++i) {
    EXPECT_EQ(codes[i].code, DL_CODE_PROGRESS);
    EXPECT_LE(codes[i].value, 1.0);
  }
  EXPECT_EQ(Utils::ToWide(TargetMd5(), 65001), servers_.Value("PACKAGE_MD5"));
}

TEST_F(SystemDownloader, AnEmptyTargetFailsWithoutAnAttempt) {
  EXPECT_EQ(Download(servers_.Nginx(L"/software/216"), L""),
            (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_FAIL, 1, L""}}));
}

TEST_F(SystemDownloader, ThreeFailedAttemptsEndInOneFailureAndNoRetryRequest) {
  const Codes codes = DownloadRun::WithoutProgress(Download(L"http://127.0.0.1:9/x/y.bin", target_));
  ASSERT_EQ(codes.size(), 2u);
  EXPECT_EQ(codes[1].code, DL_CODE_FAIL);
  EXPECT_LT(codes[1].value, 0.0);  // a failure HRESULT
  EXPECT_EQ(codes[1].text, L"URLDownloadToFile");
  EXPECT_EQ(sleeper_.Pauses(), Pauses(CWinDownloader::kAttempts, CWinDownloader::kPauseMs));  // the last one too
}

// The service stores whatever a server answers, an error page too: bytes that
// the URL's digest does not name fail every attempt, directly or behind
// redirects, and leave no file.
TEST_F(SystemDownloader, BytesTheUrlsDigestDoesNotNameFailTheRun) {
  const std::wstring zeros(32, L'0');
  const std::wstring package = servers_.Value("PACKAGE_MD5");
  const std::wstring urls[] = {
      servers_.Fault(L"/gen/1100000/" + zeros + L"/bad.bin"),
      servers_.Fault(L"/r/2/gen/1100000/" + zeros + L"/bad.bin"),
      servers_.Nginx(L"/files/" + package + L"/nothere.exe"),  // nginx's 404 page
  };
  for (const std::wstring& url : urls) {
    SCOPED_TRACE(Utils::ToNarrow(url, Utils::kCodePageUtf8));
    const TestSupport::CountingSleeper sleeper;
    EXPECT_EQ(DownloadRun::WithoutProgress(Download(url, target_)),
              (Codes{{DL_CODE_START, 1, L""},
                     {DL_CODE_FAIL, static_cast<double>(CWinDownloader::kDigestMismatch), L"URLDownloadToFile"}}));
    EXPECT_FALSE(Utils::PathExists(target_));
    EXPECT_EQ(sleeper.Pauses(), Pauses(CWinDownloader::kAttempts, CWinDownloader::kPauseMs));
  }
}

TEST_F(SystemDownloader, EveryStartIsARunAndTeardownEndsOneSilently) {
  // The first two runs pause for nothing; the third one's pauses are the
  // clock's, so it is still making its attempts when it is destroyed.
  const TestSupport::CountingSleeper sleeper([](size_t number, unsigned milliseconds, const std::atomic<bool>* stop) {
    if (number > 2 * CWinDownloader::kAttempts) Utils::Clock().Pause(milliseconds, stop);
  });
  StatusLog log;
  {
    CWinDownloader downloader(log.Callback(), L"http://127.0.0.1:9/x/y.bin", target_.c_str());
    for (size_t runs = 1; runs <= 2; ++runs) {
      downloader.Start();
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
      while (DownloadRun::WithoutProgress(log.Entries()).size() < 2 * runs &&
             std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
      const Codes codes = DownloadRun::WithoutProgress(log.Entries());
      ASSERT_EQ(codes.size(), 2 * runs);
      EXPECT_EQ(codes[2 * runs - 2].code, DL_CODE_START);
      EXPECT_EQ(codes[2 * runs - 1].code, DL_CODE_FAIL);
    }
    downloader.Start();  // destroyed during its attempts
  }
  const Codes codes = DownloadRun::WithoutProgress(log.Entries());
  ASSERT_GE(codes.size(), 4u);
  for (size_t i = 4; i < codes.size(); ++i) EXPECT_EQ(codes[i].code, DL_CODE_START);
}

TEST_F(SystemDownloader, BlanksInTheUrlGoOutAsPlus) {
  const std::wstring url = servers_.Fault(L"/gen/5000/none/blank name.bin");
  EXPECT_EQ(DownloadRun::WithoutProgress(Download(url, target_)),
            (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_SUCCESS, 0, L"URLDownloadToFile"}}));
  std::ifstream log(servers_.FilePath("FAULT_LOG"));
  std::ostringstream text;
  text << log.rdbuf();
  EXPECT_NE(text.str().find("/gen/5000/none/blank+name.bin"), std::string::npos);
}

}  // namespace
