#include "tracker/Timestamp.h"

#include "analytics/Json.h"

namespace zorvik::tracking {

SplitTime SplitTimestamp(int64_t value) {
  if (value < kMillisecondsFrom) return {value, 0};
  return {value / 1000, static_cast<int32_t>(value % 1000)};
}

std::string LocalTimeText(int64_t value) {
  const SplitTime split = SplitTimestamp(value);
  return zk_analytics::utils::LocalDateTimeText(split.seconds, split.milliseconds);
}

}  // namespace zorvik::tracking
