#pragma once
// A status code on its way from a worker thread to the main window.

#include <string>

// WM_USER + 1000: lParam points to a WorkerMessage the window then owns.
inline constexpr unsigned kWorkerMessage = 0x0400 + 1000;

struct WorkerMessage {
  int code = 0;
  double value = 0;
  std::wstring text;
};
