#include "skinkit/win32/FailureMessage.h"

#include <windows.h>

namespace SkinKit {

void FailToLoadSkin() {
  MessageBoxW(nullptr, L"加载资源文件失败", L"SkinKit", MB_ICONERROR);
  ExitProcess(1);
}

}  // namespace SkinKit
