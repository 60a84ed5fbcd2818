#pragma once

#include <windows.h>

namespace Utils {

// Keeps the calling thread's window messages flowing for about 100 ms (at least
// until one message arrives). False when `window` is gone or a quit was taken;
// a taken quit is posted again for the outer loop.
bool PumpMessages(HWND window = nullptr);

}  // namespace Utils
