#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "download/DownloadSettings.h"
#include "tests/download/DownloadRun.h"
#include "tests/download/DownloadServers.h"
#include "tests/support/CountingSleeper.h"
#include "tests/support/TestFiles.h"
#include "utils/Encoding.h"

// The pauses a run made between its attempts, each with its milliseconds.
using Pauses = std::vector<unsigned>;

// A scratch target for one download, the funnel reports it makes, and the
// pauses between its attempts, counted instead of waited out.
class DownloadTest : public testing::Test {
 protected:
  void SetUp() override {
    TheDownloadSettings().reportFailureReason = [this](const wchar_t* name, const wchar_t* reason) {
      std::lock_guard<std::mutex> lock(reportsMutex_);
      reports_.push_back(std::wstring(name) + L":" + reason);
    };
  }
  void TearDown() override { TheDownloadSettings().reportFailureReason = nullptr; }

  std::vector<std::wstring> Reports() {
    std::lock_guard<std::mutex> lock(reportsMutex_);
    return reports_;
  }
  // Starts a downloader of `url` into the target, waits until the fault server
  // has seen at least `gets` GET requests for it (0: at once), destroys it and
  // checks that this joined everything: nothing is reported afterwards. The
  // codes it reported go to `log`; returns how long the destruction took.
  template <typename Downloader>
  long long DestroyWhileRunning(const std::wstring& url, int gets, StatusLog& log) {
    auto downloader = std::make_unique<Downloader>(log.Callback(), url.c_str(), target_.c_str());
    downloader->Start();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (servers_.GetRequests(url) < gets && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    // A retry may already be on its way when the count is read.
    EXPECT_GE(servers_.GetRequests(url), gets);
    const auto began = std::chrono::steady_clock::now();
    downloader.reset();
    const auto took = std::chrono::steady_clock::now() - began;
    const std::vector<Status> before = log.Entries();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // beyond a retry pause
    EXPECT_EQ(log.Entries(), before);
    return std::chrono::duration_cast<std::chrono::milliseconds>(took).count();
  }

  std::string TargetMd5() const { return Utils::FileMD5(target_); }

  TestSupport::CountingSleeper sleeper_;
  const TestSupport::DownloadServers& servers_ = TestSupport::DownloadServers::Get();
  TestSupport::ScratchFolder folder_{L"dl 下载"};
  std::wstring target_ = folder_ / L"__Package_Quorvane.exe";

 private:
  std::mutex reportsMutex_;
  std::vector<std::wstring> reports_;
};
