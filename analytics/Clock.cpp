#include "analytics/Clock.h"

#include <chrono>
#include <mutex>

namespace zk_analytics {

int64_t NowMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

std::tm LocalTime(int64_t seconds) {
  static std::mutex mutex;
  const std::time_t value = static_cast<std::time_t>(seconds);
  std::lock_guard<std::mutex> lock(mutex);
  const std::tm* local = std::localtime(&value);
  return local != nullptr ? *local : std::tm{};
}

}  // namespace zk_analytics
