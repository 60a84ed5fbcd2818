// The segmented downloader against nginx and the fault server.
#include "download/MTCurlDownloader.h"
#include "tests/download/DownloadFixture.h"
#include "utils/Folders.h"

namespace {

using Codes = std::vector<Status>;

class Segmented : public DownloadTest {
 protected:
  Codes Download(const std::wstring& url) {
    return DownloadRun().Run([&](StatusCallback callback) {
      return std::make_unique<CMTCurlDownloader>(callback, url.c_str(), target_.c_str());
    });
  }
  std::wstring Segment(int index) const { return target_ + L"_" + std::to_wstring(index); }
};

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

TEST_F(Segmented, AProbeFailureIsFinal) {
  for (const std::wstring& url : {servers_.Generated(5000, L"e.bin", L"status500"),
                                  std::wstring(L"http://127.0.0.1:9/files/x/y.bin")}) {
    EXPECT_EQ(Download(url), (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_FAIL, 0, L"LibCurl"}}));
  }
}

}  // namespace
