#pragma once

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "download/DownloadSettings.h"
#include "tests/download/DownloadRun.h"
#include "tests/download/DownloadServers.h"
#include "tests/support/TestFiles.h"
#include "utils/Encoding.h"

// A scratch target for one download, and the funnel reports it makes.
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
  std::string TargetMd5() const { return Utils::FileMD5(Utils::ToNarrow(target_, Utils::kCodePageAnsi)); }

  const TestSupport::DownloadServers& servers_ = TestSupport::DownloadServers::Get();
  TestSupport::ScratchFolder folder_{L"dl 下载"};
  std::wstring target_ = folder_ / L"__Package_Quorvane.exe";

 private:
  std::mutex reportsMutex_;
  std::vector<std::wstring> reports_;
};
