// Closing an owned handle leaves the thread's last error as it was, so a
// failed call's error still reads right after its handles went.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#endif

#include "utils/UniqueHandle.h"

namespace {

using Value = Utils::UniqueOsHandle::Value;

#ifdef _WIN32
unsigned long LastError() { return GetLastError(); }
void SetLast(unsigned long error) { SetLastError(error); }
constexpr unsigned long kEarlierError = ERROR_FILE_NOT_FOUND;
Value Open() { return CreateEventW(nullptr, TRUE, FALSE, nullptr); }
void CloseNow(Value value) { CloseHandle(value); }
#else
unsigned long LastError() { return static_cast<unsigned long>(errno); }
void SetLast(unsigned long error) { errno = static_cast<int>(error); }
constexpr unsigned long kEarlierError = ENOENT;
Value Open() { return open("/dev/null", O_RDONLY); }
void CloseNow(Value value) { close(value); }
#endif

// An owner of a handle value closed behind its back: its own close fails,
// which sets the last error.
TEST(UniqueHandle, AClosingThatFailsKeepsTheLastError) {
  const Value stale = Open();
  CloseNow(stale);
  Utils::UniqueOsHandle handle(stale);
  ASSERT_TRUE(handle.valid());
  SetLast(kEarlierError);
  handle.reset();
  EXPECT_EQ(LastError(), kEarlierError);
  EXPECT_FALSE(handle.valid());
}

}  // namespace
