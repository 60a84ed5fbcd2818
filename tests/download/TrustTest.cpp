// Certificate checks stay on: a server is trusted through the system's store
// or through the configured CA bundle, never by default.
#include "download/CurlDownloader.h"
#include "download/MTCurlDownloader.h"
#include "tests/download/DownloadFixture.h"
#include "utils/Folders.h"
#include "utils/Log.h"

namespace {

using Codes = std::vector<Status>;

class Trust : public DownloadTest {
 protected:
  void TearDown() override {
    TheDownloadSettings().caBundle.clear();
    DownloadTest::TearDown();
  }

  template <typename Downloader>
  Codes Download(const std::string& bundleKey, const std::wstring& prefix = L"") {
    TheDownloadSettings().caBundle = bundleKey.empty() ? std::string() : servers_.FilePath(bundleKey);
    const std::wstring url = servers_.Value("TLS_URL") + prefix + servers_.Value("PAYLOAD_PATH");
    return DownloadRun::WithoutProgress(DownloadRun().Run([&](StatusCallback callback) {
      return std::make_unique<Downloader>(callback, url.c_str(), target_.c_str());
    }));
  }
};

TEST_F(Trust, TheConfiguredBundleLetsBothDownloadersIn) {
  EXPECT_EQ(Download<CCurlDownloader>("TEST_CA"), (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_SUCCESS, 0, L"LibCurl"}}));
  EXPECT_EQ(Utils::ToWide(TargetMd5(), 65001), servers_.Value("PAYLOAD_MD5"));
  EXPECT_EQ(Download<CMTCurlDownloader>("TEST_CA"), (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_SUCCESS, 0, L"LibCurl"}}));
  EXPECT_EQ(Utils::ToWide(TargetMd5(), 65001), servers_.Value("PAYLOAD_MD5"));
}

TEST_F(Trust, ACertificateFromAnotherAuthorityIsRefused) {
  Utils::DebugLogCapture capture;
  EXPECT_EQ(Download<CMTCurlDownloader>("OTHER_CA"), (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_FAIL, 0, L"LibCurl"}}));
  EXPECT_EQ(Download<CCurlDownloader>("OTHER_CA"),
            (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_FAIL, -998, L"LibCurl"}}));
  EXPECT_FALSE(capture.LinesContaining(L"error:60:").empty());
}

// A redirect from https to plain http would hand the package, and the digest
// in its URL, to anyone on the path: both downloaders refuse it.
TEST_F(Trust, AnHttpsUrlIsNeverRedirectedToHttp) {
  Utils::DebugLogCapture capture;
  EXPECT_EQ(Download<CMTCurlDownloader>("TEST_CA", L"/downgrade"),
            (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_FAIL, 0, L"LibCurl"}}));
  EXPECT_EQ(Download<CCurlDownloader>("TEST_CA", L"/downgrade"),
            (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_FAIL, -998, L"LibCurl"}}));
  EXPECT_FALSE(capture.LinesContaining(L"error:1:").empty());  // unsupported protocol
  EXPECT_FALSE(Utils::PathExists(target_));
}

#ifndef _WIN32
// Wine's certificate store accepts unknown authorities, so only here can the
// default trust be shown to refuse one.
TEST_F(Trust, WithoutABundleAnUnknownAuthorityIsRefused) {
  EXPECT_EQ(Download<CMTCurlDownloader>(""), (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_FAIL, 0, L"LibCurl"}}));
}
#endif

}  // namespace
