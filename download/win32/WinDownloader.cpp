#include "download/win32/WinDownloader.h"

#include "download/DigestCheck.h"

#include "utils/Encoding.h"
#include "utils/File.h"
#include "utils/Folders.h"
#include "utils/Log.h"
#include "utils/RetryPause.h"
#include "utils/win32/ComScope.h"

CWinDownloader::CBindCallback::~CBindCallback() {
  abort_ = true;
  callback_ = nullptr;
}

HRESULT CWinDownloader::CBindCallback::OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode,
                                                   LPCWSTR statusText) {
  if (abort_) return E_ABORT;
  if (statusCode == BINDSTATUS_REDIRECTING && statusText != nullptr) redirectedUrl_ = statusText;
  if (progressMax != 0 && callback_) {
    callback_(DL_CODE_PROGRESS, static_cast<double>(progress) / static_cast<double>(progressMax), L"");
  }
  return S_OK;
}

HRESULT CWinDownloader::CBindCallback::GetBindInfo(DWORD*, BINDINFO* info) {
  if (info != nullptr) info->dwCodePage = CP_UTF8;
  return E_NOTIMPL;
}

CWinDownloader::CWinDownloader(StatusCallback callback, const wchar_t* url, const wchar_t* path)
    : callback_(std::move(callback)), path_(path), url_(url) {}

CWinDownloader::~CWinDownloader() {
  closing_ = true;
  bindCallback_.Abort();
  worker_.Join();
}

void CWinDownloader::Send(int code, double value, const wchar_t* text) {
  if (!closing_) callback_(code, value, text);
}

void CWinDownloader::Start() {
  bindCallback_.SetCallback([this](int code, double value, const wchar_t* text) { Send(code, value, text); });
  if (!worker_.Restart(this, &CWinDownloader::downloadProc)) Send(DL_CODE_FAIL, 0.0, L"URLDownloadToFile");
}

void CWinDownloader::downloadProc(void* self) { static_cast<CWinDownloader*>(self)->Run(); }

HRESULT CWinDownloader::Attempt(const std::wstring& encodedUrl) {
  bindCallback_.ForgetRedirects();
  const HRESULT result = URLDownloadToFileW(nullptr, encodedUrl.c_str(), path_.c_str(), 0, &bindCallback_);
  if (result != S_OK) return result;
  if (Utils::FileSize(path_) < 0) {
    UTILS_LOG(L"URLDownloadToFile reported success but left no file at %ls", path_.c_str());
    return kNoFile;
  }
  const std::wstring& redirected = bindCallback_.RedirectedUrl();
  const std::string expected =
      Utils::UrlDigestSegment(Utils::ToNarrow(redirected.empty() ? url_ : redirected, Utils::kCodePageUtf8));
  if (CheckDigest(expected, FinishedFileDigest(expected, std::string(), path_)) != DigestOutcome::kMismatch) {
    return S_OK;
  }
  UTILS_LOG(L"URLDownloadToFile stored bytes whose digest is not %ls", Utils::ToWide(expected, Utils::kCodePageAnsi).c_str());
  Utils::RemoveFile(path_);
  return kDigestMismatch;
}

void CWinDownloader::Run() {
  const ComScope com;
  Send(DL_CODE_START, 1.0, L"");
  if (path_.empty()) {
    Send(DL_CODE_FAIL, 1.0, L"");
  } else {
    const std::wstring url = url_.rfind(L"file:///", 0) == 0 ? url_ : Utils::UrlEncodeW(url_);
    for (int attempt = 1; attempt <= kAttempts && !closing_; ++attempt) {
      const HRESULT result = Attempt(url);
      if (result == S_OK) {
        Send(DL_CODE_SUCCESS, 0.0, L"URLDownloadToFile");
        break;
      }
      Utils::PauseBetweenAttempts(kPauseMs, &closing_);  // teardown ends it early
      if (attempt == kAttempts) Send(DL_CODE_FAIL, static_cast<double>(result), L"URLDownloadToFile");
    }
  }
}
