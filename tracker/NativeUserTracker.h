#pragma once
// User-profile properties: each known name maps to the profile operation of
// its class (set once, increment, set, append).

#include <cstdint>
#include <string>

namespace zorvik::tracking {

enum class ProfileClass { SetOnce = 1, Increment = 2, Set = 3, Append = 4 };

class NativeUserTracker {
 public:
  // The class of a known name; throws "Not supported user property [...]!" otherwise.
  static ProfileClass ClassOf(const std::string& name, const char* function);

  static void ProfileUserPropertyString(const std::string& name, const std::string& value);
  static void ProfileUserPropertyNumber(const std::string& name, int32_t value);
  static void ProfileUserPropertyNumber(const std::string& name, double value);
  // `time` is milliseconds from 157789440000 on, seconds below.
  static void ProfileUserPropertyDateTime(const std::string& name, int64_t time);
};

}  // namespace zorvik::tracking
