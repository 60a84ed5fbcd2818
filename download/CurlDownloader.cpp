#include "download/CurlDownloader.h"

#include "download/DigestCheck.h"
#include "download/RetryBudget.h"
#include "utils/Encoding.h"
#include "utils/Folders.h"
#include "utils/Log.h"
#include "utils/RetryPause.h"

CCurlDownloader::CCurlDownloader(StatusCallback callback, const wchar_t* url, const wchar_t* path)
    : callback_(std::move(callback)), path_(path), url_(url), client_(url_, path_, this, &OnClientProgress) {
  Utils::RemoveFile(client_.GetFilePath(true));
}

CCurlDownloader::~CCurlDownloader() {
  closing_ = true;
  client_.Abort();
  worker_.Join();
}

void CCurlDownloader::Start() {
  if (!worker_.Restart(this, &CCurlDownloader::dlThreadFun)) {
    Send(DL_CODE_FAIL, 0.0, L"LibCurl");  // no thread: the run ends before it began
  }
}

void CCurlDownloader::Send(int code, double value, const wchar_t* text) {
  if (!closing_) callback_(code, value, text);
}

void CCurlDownloader::OnClientProgress(void* owner, double speed, double, double percent) {
  auto* self = static_cast<CCurlDownloader*>(owner);
  if (speed > 0 && percent <= 100) self->Send(DL_CODE_PROGRESS, percent / 100, L"");
}

void CCurlDownloader::dlThreadFun(void* self) { static_cast<CCurlDownloader*>(self)->Run(); }

void CCurlDownloader::Run() {
  Send(DL_CODE_START, 1.0, L"");
  if (path_.empty()) {
    Send(DL_CODE_FAIL, 1.0, L"");
    return;
  }
  RetryBudget budget;
  int result = client_.Start();
  while (result != 0) {
    if (closing_) return;  // the aborted transfer is no failure to retry or report
    budget.Charge(result);
    if (budget.Left() <= 0) {
      Send(DL_CODE_FAIL, static_cast<double>(result), L"LibCurl");
      return;
    }
    UTILS_LOG(L"CurlDownLoader Code=%d", result);
    Utils::PauseBetweenAttempts(kRetryPauseMs);
    result = client_.Start();
  }

  const auto send = [this](int code, double value, const wchar_t* text) { Send(code, value, text); };
  Send(FinishedDownloadCode(Utils::UrlDigestSegment(client_.RealUrl()), client_.Digest(), path_, L"curl",
                            retried_, send),
       0.0, L"LibCurl");
}
