#pragma once
// Pre-message filters and the modal loop of the toolkit's windows.

#include <windows.h>

namespace SkinKit {

class IMessageFilter {
 public:
  virtual ~IMessageFilter() = default;
  // Sees every queued message for its window and the window's children before
  // it is dispatched; setting `handled` stops it there.
  virtual LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;
};

void AddPreMessageFilter(HWND window, IMessageFilter* filter);
void RemovePreMessageFilter(IMessageFilter* filter);

// Runs the thread's messages through the filters until `window` is gone. A
// WM_QUIT ends the loop and is posted again for the outer loop.
void RunModalLoop(HWND window);

}  // namespace SkinKit
