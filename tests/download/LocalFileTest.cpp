// "file:///" URLs name local files; their path goes to libcurl in the ANSI
// code page, so a folder with Chinese characters works on Chinese systems.
#include "download/CurlDownloader.h"
#include "download/MTCurlDownloader.h"
#include "tests/download/DownloadFixture.h"

namespace {

using Codes = std::vector<Status>;

class LocalFile : public DownloadTest {
 protected:
  void SetUp() override {
    DownloadTest::SetUp();
    std::string data;
    for (int i = 0; i < 1200000; ++i) data += static_cast<char>((i * 131) >> 3);
    TestSupport::WriteFile(source_, data);
    md5_ = Utils::FileMD5(source_);
  }

  std::wstring Url() const {
    std::wstring path = source_;
    for (wchar_t& c : path) {
      if (c == L'\\') c = L'/';
    }
    return path.front() == L'/' ? L"file://" + path : L"file:///" + path;
  }

  template <typename Downloader>
  Codes Download() {
    const std::wstring url = Url();
    return DownloadRun::WithoutProgress(DownloadRun().Run([&](StatusCallback callback) {
      return std::make_unique<Downloader>(callback, url.c_str(), target_.c_str());
    }));
  }

  TestSupport::ScratchFolder sourceFolder_{L"本地文件"};
  std::wstring source_ = sourceFolder_ / L"安装包.bin";
  std::string md5_;
};

TEST_F(LocalFile, BothLibcurlDownloadersCopyIt) {
  const Codes expected = {{DL_CODE_START, 1, L""}, {DL_CODE_NOTICE, 0, L"curl获取url-md5失败"},
                          {DL_CODE_SUCCESS, 0, L"LibCurl"}};
  EXPECT_EQ(Download<CCurlDownloader>(), expected);
  EXPECT_EQ(TargetMd5(), md5_);
  const Codes segmented = {{DL_CODE_START, 1, L""}, {DL_CODE_NOTICE, 0, L"mtcurl获取url-md5失败"},
                           {DL_CODE_SUCCESS, 0, L"LibCurl"}};
  EXPECT_EQ(Download<CMTCurlDownloader>(), segmented);
  EXPECT_EQ(TargetMd5(), md5_);
}

}  // namespace
