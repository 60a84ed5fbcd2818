#pragma once
// The pauses between two attempts of anything that is tried again (transfers,
// deletions). They all go through one replaceable sleeper, so a test counts
// them instead of waiting them out.

#include <atomic>

namespace Utils {

class Sleeper {
 public:
  virtual ~Sleeper() = default;
  // Waits `milliseconds`, or less once `stop` (when given) is set.
  virtual void Pause(unsigned milliseconds, const std::atomic<bool>* stop) = 0;
};

// The real clock; with a stop flag it waits in short steps, so an owner that
// is going does not wait out a whole pause.
Sleeper& Clock();

// Waits between two attempts through the current sleeper.
void PauseBetweenAttempts(unsigned milliseconds, const std::atomic<bool>* stop = nullptr);

// Makes `sleeper` (null: the clock) the one every pause goes through and
// returns the one it replaces. Only tests call it.
Sleeper* ReplaceSleeper(Sleeper* sleeper);

}  // namespace Utils
