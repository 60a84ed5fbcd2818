#pragma once
// The system downloader: the URL moniker service fetches the file, a bind
// status callback turns its progress notifications into 1002 reports. Each
// Start is a run of up to three attempts; a file whose digest differs from the
// one in the (last redirected) URL, or that is missing, is a failed attempt.
// Never a retry request.

#include <windows.h>
#include <urlmon.h>

#include <atomic>
#include <string>

#include "download/Downloader.h"
#include "download/RestartableWorker.h"

class CWinDownloader : public CDownloader {
 public:
  static constexpr int kAttempts = 3;
  static constexpr unsigned kPauseMs = 1000;
  // The value of a 1004 whose last attempt stored other bytes than the URL's
  // digest names (a server's error page, say), or nothing at all.
  static constexpr HRESULT kDigestMismatch = HRESULT_FROM_WIN32(ERROR_CRC);
  static constexpr HRESULT kNoFile = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);

  CWinDownloader(StatusCallback callback, const wchar_t* url, const wchar_t* path);
  ~CWinDownloader() override;

  void Start() override;

  // The service's view of the transfer; lives inside its downloader, so it
  // counts no references. COM interfaces have no virtual destructor, and none
  // is deleted through one.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"
  class CBindCallback : public IBindStatusCallbackEx {
   public:
    CBindCallback() = default;
    virtual ~CBindCallback();
    CBindCallback(const CBindCallback&) = delete;
    CBindCallback& operator=(const CBindCallback&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void**) override { return E_NOTIMPL; }
    ULONG STDMETHODCALLTYPE AddRef() override { return 0; }
    ULONG STDMETHODCALLTYPE Release() override { return 0; }
    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG progressMax, ULONG statusCode,
                                         LPCWSTR statusText) override;
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* flags, BINDINFO* info) override;
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override {
      return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBindInfoEx(DWORD*, BINDINFO*, DWORD*, DWORD*) override {
      return E_NOTIMPL;
    }

    void SetCallback(StatusCallback callback) { callback_ = std::move(callback); }
    void Abort() { abort_ = true; }
    // The URL the service was last sent to by a redirect; empty when none.
    const std::wstring& RedirectedUrl() const { return redirectedUrl_; }
    void ForgetRedirects() { redirectedUrl_.clear(); }

   private:
    StatusCallback callback_;
    std::atomic<bool> abort_{false};
    std::wstring redirectedUrl_;  // written and read on the worker only
  };
#pragma GCC diagnostic pop

 private:
  static void downloadProc(void* self);
  void Run();
  HRESULT Attempt(const std::wstring& encodedUrl);
  void Send(int code, double value, const wchar_t* text);

  CBindCallback bindCallback_;
  StatusCallback callback_;
  std::wstring path_;
  std::wstring url_;
  std::atomic<bool> closing_{false};  // teardown: attempts stop, nothing more is reported
  RestartableWorker worker_;
};
