#include "skinkit/win32/MessageLoop.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace SkinKit {

namespace {

// Windows are created and run on the main thread only.
std::vector<std::pair<HWND, IMessageFilter*>>& Filters() {
  static std::vector<std::pair<HWND, IMessageFilter*>> filters;
  return filters;
}

bool Filtered(const MSG& msg) {
  const std::vector<std::pair<HWND, IMessageFilter*>> filters = Filters();
  for (const auto& entry : filters) {
    if (msg.hwnd != entry.first && !IsChild(entry.first, msg.hwnd)) continue;
    bool handled = false;
    entry.second->MessageHandler(msg.message, msg.wParam, msg.lParam, handled);
    if (handled) return true;
  }
  return false;
}

}  // namespace

void AddPreMessageFilter(HWND window, IMessageFilter* filter) {
  RemovePreMessageFilter(filter);
  Filters().emplace_back(window, filter);
}

void RemovePreMessageFilter(IMessageFilter* filter) {
  auto& filters = Filters();
  filters.erase(std::remove_if(filters.begin(), filters.end(),
                               [filter](const auto& entry) { return entry.second == filter; }),
                filters.end());
}

void RunModalLoop(HWND window) {
  MSG msg;
  while (IsWindow(window)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    if (Filtered(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

}  // namespace SkinKit
