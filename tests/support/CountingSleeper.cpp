#include "tests/support/CountingSleeper.h"

namespace TestSupport {

CountingSleeper::CountingSleeper(Hook hook) : hook_(std::move(hook)), previous_(Utils::ReplaceSleeper(this)) {}

CountingSleeper::~CountingSleeper() { Utils::ReplaceSleeper(previous_); }

void CountingSleeper::Pause(unsigned milliseconds, const std::atomic<bool>* stop) {
  size_t number;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pauses_.push_back(milliseconds);
    number = pauses_.size();
  }
  if (hook_) hook_(number, milliseconds, stop);
}

std::vector<unsigned> CountingSleeper::Pauses() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return pauses_;
}

}  // namespace TestSupport
