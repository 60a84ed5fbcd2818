#pragma once
// The "ABDEF" worker of a downloader that can be started again from inside its
// own run (the owner answers a retry request from the downloader's thread).
// A restart from the worker itself cannot join it: the finishing worker is set
// aside and joined later, by the next restart or by teardown.

#include <memory>

#include "utils/Thread.h"

class RestartableWorker {
 public:
  RestartableWorker() = default;
  ~RestartableWorker();
  RestartableWorker(const RestartableWorker&) = delete;
  RestartableWorker& operator=(const RestartableWorker&) = delete;

  // False when no thread could be created.
  bool Restart(void* context, Utils::Thread::Body body);
  void Join();

 private:
  std::unique_ptr<Utils::Thread> current_;
  std::unique_ptr<Utils::Thread> finishing_;
};
