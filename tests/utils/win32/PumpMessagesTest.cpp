#include <windows.h>

#include <gtest/gtest.h>

#include "utils/win32/PumpMessages.h"

namespace {

HWND MakeWindow() {
  return CreateWindowExW(0, L"STATIC", L"pump", 0, 0, 0, 10, 10, nullptr, nullptr,
                         GetModuleHandleW(nullptr), nullptr);
}

TEST(PumpMessages, TakesAQuitAndPostsItAgain) {
  PostQuitMessage(5);
  EXPECT_FALSE(Utils::PumpMessages());
  MSG message{};
  ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(message.wParam, 5u);
}

TEST(PumpMessages, StopsAtOnceForADestroyedWindow) {
  HWND window = MakeWindow();
  ASSERT_NE(window, nullptr);
  DestroyWindow(window);
  PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
  EXPECT_FALSE(Utils::PumpMessages(window));
  MSG message{};
  EXPECT_TRUE(PeekMessageW(&message, nullptr, WM_APP, WM_APP, PM_REMOVE));  // still queued
}

TEST(PumpMessages, ReturnsTrueAfterAboutAHundredMilliseconds) {
  HWND window = MakeWindow();
  ASSERT_NE(window, nullptr);
  SetTimer(window, 1, 10, nullptr);
  const DWORD start = GetTickCount();
  EXPECT_TRUE(Utils::PumpMessages(window));
  EXPECT_GE(GetTickCount() - start, 90u);
  KillTimer(window, 1);
  DestroyWindow(window);
}

}  // namespace
