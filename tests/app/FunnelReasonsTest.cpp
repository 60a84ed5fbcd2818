#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "app/FunnelReasons.h"
#include "utils/StatusCodes.h"

namespace {

TEST(FunnelReasons, CodeAndMessage) {
  const struct {
    double value;
    const wchar_t* text;
    const wchar_t* reason;
  } cases[] = {
      {3, L"", L":1.code=3；2.msg="},
      {3.9, L"安装包安装失败", L":1.code=3；2.msg=安装包安装失败"},
      {-2.5, L"x", L":1.code=-2；2.msg=x"},
      {std::nan(""), L"x", L":1.code=0；2.msg=x"},
  };
  for (const auto& c : cases) EXPECT_EQ(CodeMessageReason(c.value, c.text), c.reason);
  EXPECT_EQ(ReasonCode(1e300), LONG_MAX);
  EXPECT_EQ(ReasonCode(-1e300), LONG_MIN);
  EXPECT_EQ(CodeMessageReason(1, std::wstring(300, L'm')).size(), kReasonLimit);
}

TEST(FunnelReasons, DownloadFailureCarriesTheDiagnostics) {
  DownloadFailureFacts facts;
  facts.value = 28;
  facts.text = L"LibCurl";
  facts.freeGiB = 12.5;
  facts.writable = true;
  facts.networkState = 0x40;
  EXPECT_EQ(DownloadFailureReason(facts),
            L"1.code=28；2.msg=LibCurl；3.缓存磁盘容量=12.50G；4.缓存读写权限=可读；5.服务器连接状态code=64");
  facts.writable = false;
  facts.freeGiB = 0.004;
  facts.networkState = 0x10001;
  EXPECT_EQ(DownloadFailureReason(facts),
            L"1.code=28；2.msg=LibCurl；3.缓存磁盘容量=0.00G；4.缓存读写权限=无权限；5.服务器连接状态code=65537");
  // A package the publisher gate refused says so in both of its parts.
  facts.value = DL_FAIL_SIGNATURE_REFUSED;
  facts.text = kSignatureRefusedSource;
  EXPECT_EQ(DownloadFailureReason(facts).substr(0, 37), L"1.code=-1100；2.msg=PublisherSignature");
}

}  // namespace
