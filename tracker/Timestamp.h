#pragma once
// The tracker's timestamps are milliseconds since 1970 from 157789440000 on
// (early 1975 in milliseconds, year 6970 in seconds), and seconds below.

#include <cstdint>
#include <string>

namespace zorvik::tracking {

inline constexpr int64_t kMillisecondsFrom = 157789440000;

struct SplitTime {
  int64_t seconds;
  int32_t milliseconds;
};

SplitTime SplitTimestamp(int64_t value);
// "YYYY-MM-DD hh:mm:ss.mmm" in local time.
std::string LocalTimeText(int64_t value);

}  // namespace zorvik::tracking
