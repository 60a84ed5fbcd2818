#include "utils/win32/PumpMessages.h"

#include <mmsystem.h>

namespace Utils {

bool PumpMessages(HWND window) {
  const DWORD start = timeGetTime();
  for (;;) {
    if (window != nullptr && !IsWindow(window)) return false;
    MSG message{};
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0 || message.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(message.wParam));
      return false;
    }
    if (got < 0) return false;
    TranslateMessage(&message);
    DispatchMessageW(&message);
    if (timeGetTime() - start > 100) return true;
  }
}

}  // namespace Utils
