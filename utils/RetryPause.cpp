#include "utils/RetryPause.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace Utils {

namespace {

class RealClock : public Sleeper {
 public:
  void Pause(unsigned milliseconds, const std::atomic<bool>* stop) override {
    if (stop == nullptr) {
      std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
      return;
    }
    constexpr unsigned kStepMs = 50;
    for (unsigned waited = 0; waited < milliseconds && !*stop; waited += kStepMs) {
      std::this_thread::sleep_for(std::chrono::milliseconds(std::min(kStepMs, milliseconds - waited)));
    }
  }
};

std::atomic<Sleeper*> current{nullptr};

}  // namespace

Sleeper& Clock() {
  static RealClock clock;
  return clock;
}

void PauseBetweenAttempts(unsigned milliseconds, const std::atomic<bool>* stop) {
  Sleeper* sleeper = current.load();
  (sleeper != nullptr ? *sleeper : Clock()).Pause(milliseconds, stop);
}

Sleeper* ReplaceSleeper(Sleeper* sleeper) { return current.exchange(sleeper); }

}  // namespace Utils
