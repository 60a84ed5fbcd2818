#pragma once
// Takes the clock's place between attempts while it lives: each pause is kept
// with the milliseconds it asked for, and none is waited out unless the hook
// says so.

#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <vector>

#include "utils/RetryPause.h"

namespace TestSupport {

class CountingSleeper : public Utils::Sleeper {
 public:
  // Runs at each pause, on the pausing thread, with the pause's number (1 for
  // the first) and what the pause asked for; it may wait, through
  // Utils::Clock(), or change what the next attempt meets.
  using Hook = std::function<void(size_t number, unsigned milliseconds, const std::atomic<bool>* stop)>;

  explicit CountingSleeper(Hook hook = nullptr);
  ~CountingSleeper() override;  // the sleeper before it is back
  CountingSleeper(const CountingSleeper&) = delete;
  CountingSleeper& operator=(const CountingSleeper&) = delete;

  void Pause(unsigned milliseconds, const std::atomic<bool>* stop) override;
  std::vector<unsigned> Pauses() const;

 private:
  Hook hook_;
  mutable std::mutex mutex_;
  std::vector<unsigned> pauses_;
  Utils::Sleeper* previous_;
};

}  // namespace TestSupport
