#pragma once

#include <cstdint>

namespace Utils {

// Milliseconds from an arbitrary start; wraps like the system tick count.
uint32_t TickCountMs();

// Elapsed seconds since Start; a watch that is not running reads 0.
class StopWatch {
 public:
  void Start() {
    start_ = TickCountMs();
    running_ = true;
  }
  void Stop() { running_ = false; }
  bool Running() const { return running_; }
  float Seconds() const {
    return running_ ? static_cast<float>(TickCountMs() - start_) / 1000.0f : 0.0f;
  }

 private:
  uint32_t start_ = 0;
  bool running_ = false;
};

}  // namespace Utils
