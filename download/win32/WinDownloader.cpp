#include "download/win32/WinDownloader.h"

#include <objbase.h>

#include "utils/Encoding.h"

CWinDownloader::CBindCallback::~CBindCallback() {
  abort_ = true;
  callback_ = nullptr;
}

HRESULT CWinDownloader::CBindCallback::OnProgress(ULONG progress, ULONG progressMax, ULONG,
                                                   LPCWSTR) {
  if (abort_) return E_ABORT;
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
    : callback_(std::move(callback)),
      path_(path),
      url_(url),
      worker_(this, L"ABDEF", &CWinDownloader::downloadProc) {}

CWinDownloader::~CWinDownloader() {
  bindCallback_.Abort();
  worker_.Join();
}

void CWinDownloader::Start() {
  if (started_) return;  // one run per object
  started_ = true;
  bindCallback_.SetCallback(callback_);
  if (!worker_.Start()) callback_(DL_CODE_FAIL, 0.0, L"URLDownloadToFile");
}

void CWinDownloader::downloadProc(void* self) { static_cast<CWinDownloader*>(self)->Run(); }

void CWinDownloader::Run() {
  const HRESULT com = CoInitialize(nullptr);
  callback_(DL_CODE_START, 1.0, L"");
  if (path_.empty()) {
    callback_(DL_CODE_FAIL, 1.0, L"");
  } else {
    const std::wstring url = url_.rfind(L"file:///", 0) == 0 ? url_ : Utils::UrlEncodeW(url_);
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
      const HRESULT result = URLDownloadToFileW(nullptr, url.c_str(), path_.c_str(), 0, &bindCallback_);
      if (result == S_OK) {
        callback_(DL_CODE_SUCCESS, 0.0, L"URLDownloadToFile");
        break;
      }
      Sleep(kPauseMs);
      if (attempt == kAttempts) {
        callback_(DL_CODE_FAIL, static_cast<double>(result), L"URLDownloadToFile");
      }
    }
  }
  if (SUCCEEDED(com)) CoUninitialize();
}
