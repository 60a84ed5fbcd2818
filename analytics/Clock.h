#pragma once

#include <cstdint>
#include <ctime>

namespace zk_analytics {

// UTC milliseconds since 1970.
int64_t NowMs();
// The C library's local-time conversion, serialised (it shares one buffer).
std::tm LocalTime(int64_t seconds);

}  // namespace zk_analytics
