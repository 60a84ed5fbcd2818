#pragma once
// One SDK instance for a test, whose uploads land in a list instead of the
// network; shut down (staging file written) when the session ends.

#include <string>
#include <vector>

#include "analytics/Sdk.h"
#include "tests/support/TestFiles.h"

namespace TestSupport {

class SdkSession {
 public:
  explicit SdkSession(const std::string& distinctId = "D", bool isLoginId = false);
  ~SdkSession();
  SdkSession(const SdkSession&) = delete;
  SdkSession& operator=(const SdkSession&) = delete;

  bool Started() const { return started_; }
  const std::string& StagingFile() const { return stagingFile_; }
  std::vector<std::string> batches;  // every batch handed to the sender
  bool sendSucceeds = true;

 private:
  ScratchFolder folder_;
  std::string stagingFile_;
  bool started_ = false;
};

// The record with its "_track_id" and "time" values replaced by T and M.
std::string Masked(const std::string& record);

}  // namespace TestSupport
