#include <windows.h>

#include <gtest/gtest.h>

#include "utils/win32/InstanceMutex.h"

namespace {

TEST(InstanceMutex, SecondAcquireHoldsNothingUntilTheFirstIsReleased) {
  Utils::InstanceMutex first(L"Test_InstanceMutex");
  first.Acquire();
  ASSERT_TRUE(first.Held());
  first.Acquire();  // already held: nothing changes
  EXPECT_TRUE(first.Held());

  Utils::InstanceMutex second(L"Test_InstanceMutex");
  second.Acquire();
  EXPECT_FALSE(second.Held());

  first.Release();
  EXPECT_FALSE(first.Held());
  second.Acquire();
  EXPECT_TRUE(second.Held());
}

TEST(InstanceMutex, UsesThePrefixedName) {
  Utils::InstanceMutex mutex(L"Test_PrefixedName");
  mutex.Acquire();
  ASSERT_TRUE(mutex.Held());
  const Utils::UniqueOsHandle opened(OpenMutexW(SYNCHRONIZE, FALSE, L"D1A547DB89C0BC61_Test_PrefixedName"));
  EXPECT_TRUE(opened.valid());
}

}  // namespace
