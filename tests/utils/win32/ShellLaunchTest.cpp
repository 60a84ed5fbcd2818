// The product is started through the desktop's shell; where the desktop offers
// none (as under Wine) the installer starts it itself, and it still starts.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "tests/support/TestFiles.h"
#include "utils/Folders.h"
#include "utils/win32/ShellLaunch.h"

namespace {

TEST(ShellLaunch, TheProgramStarts) {
  TestSupport::ScratchFolder folder(L"launch 启动");
  const std::wstring script = folder / L"product.cmd";
  TestSupport::WriteFile(script, "@echo started> \"%~dp0started.txt\"\r\n");
  ASSERT_TRUE(Utils::LaunchAsDesktopUser(script, folder.Path(), SW_HIDE));
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!Utils::PathExists(folder / L"started.txt") && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(Utils::PathExists(folder / L"started.txt"));
}

}  // namespace
