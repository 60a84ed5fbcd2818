// post-to-window.exe CLASS MESSAGE [COUNT]: posts MESSAGE (wParam and lParam
// 0) COUNT times to the first top-level window of class CLASS, as another
// program would. Exit 0 when it was posted, 1 when there is no such window.
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv);

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) return 2;
  HWND window = FindWindowW(argv[1], nullptr);
  if (!window) return 1;
  const UINT message = static_cast<UINT>(std::wcstoul(argv[2], nullptr, 10));
  const long count = argc > 3 ? std::wcstol(argv[3], nullptr, 10) : 1;
  for (long i = 0; i < count; ++i) {
    if (!PostMessageW(window, message, 0, 0)) return 1;
  }
  return 0;
}
