#pragma once
// The single-connection downloader: one CurlClient, retried within a budget,
// then the digest carried by the real URL is checked.

#include <atomic>
#include <string>

#include "download/CurlClient.h"
#include "download/Downloader.h"
#include "download/RestartableWorker.h"

class CCurlDownloader : public CDownloader {
 public:
  static constexpr unsigned kRetryPauseMs = 500;

  CCurlDownloader(StatusCallback callback, const wchar_t* url, const wchar_t* path);
  ~CCurlDownloader() override;

  void Start() override;

  static void OnClientProgress(void* owner, double speed, double reserved, double percent);

 private:
  static void dlThreadFun(void* self);
  void Run();
  void Send(int code, double value, const wchar_t* text);

  StatusCallback callback_;
  std::wstring path_;
  std::wstring url_;
  CurlClient client_;
  bool retried_ = false;
  std::atomic<bool> closing_{false};  // teardown: no more attempts, nothing more is reported
  RestartableWorker worker_;  // last: joined before the rest goes
};
