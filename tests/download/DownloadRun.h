#pragma once
// Runs a downloader to its end the way the orchestration does: a retry request
// (1005) is answered by starting it again from inside the callback.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "download/Downloader.h"
#include "tests/package/StatusLog.h"

class DownloadRun {
 public:
  // Builds the downloader with this run's callback, starts it and waits (at
  // most `seconds`) for a terminal code that no restart follows.
  template <typename Make>
  std::vector<Status> Run(Make make, int seconds = 120) {
    downloader_ = make([this](int code, double value, const wchar_t* text) { OnStatus(code, value, text); });
    downloader_->Start();
    std::unique_lock<std::mutex> lock(mutex_);
    finished_.wait_for(lock, std::chrono::seconds(seconds), [this] { return done_; });
    EXPECT_TRUE(done_) << "no terminal code";
    lock.unlock();
    downloader_.reset();  // joins every thread of the downloader
    return log_;
  }

  // Runs on the downloader's thread when a retry is requested, before the
  // restart: the place to look at or change what the failed run left on disk.
  void BeforeRestart(std::function<void()> hook) { beforeRestart_ = std::move(hook); }

  // Codes other than progress, which depends on timing.
  static std::vector<Status> WithoutProgress(const std::vector<Status>& codes) {
    std::vector<Status> kept;
    for (const Status& s : codes) {
      if (s.code != DL_CODE_PROGRESS) kept.push_back(s);
    }
    return kept;
  }

 private:
  void OnStatus(int code, double value, const wchar_t* text) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      log_.push_back({code, value, text});
      if (code == DL_CODE_SUCCESS || code == DL_CODE_FAIL) {
        done_ = true;
        finished_.notify_all();
      }
    }
    if (code == DL_CODE_RETRY) {
      if (beforeRestart_) beforeRestart_();
      downloader_->Start();
    }
  }

  std::function<void()> beforeRestart_;
  std::unique_ptr<CDownloader> downloader_;
  std::mutex mutex_;
  std::condition_variable finished_;
  bool done_ = false;
  std::vector<Status> log_;
};
