// The system downloader under the URL moniker service, against the test servers.
#include <fstream>
#include <sstream>

#include "download/win32/WinDownloader.h"
#include "tests/download/DownloadFixture.h"

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
