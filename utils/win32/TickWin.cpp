#include <windows.h>

#include "utils/StopWatch.h"

namespace Utils {

uint32_t TickCountMs() { return GetTickCount(); }

}  // namespace Utils
