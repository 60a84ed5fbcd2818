#include <ctime>

#include "utils/StopWatch.h"

namespace Utils {

uint32_t TickCountMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint32_t>(static_cast<uint64_t>(now.tv_sec) * 1000u +
                               static_cast<uint64_t>(now.tv_nsec) / 1000000u);
}

}  // namespace Utils
