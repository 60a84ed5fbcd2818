#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "utils/Log.h"
#include "utils/StopWatch.h"
#include "utils/Thread.h"

namespace {

struct Owner {
  std::atomic<int> runs{0};
  std::atomic<uint32_t> seenOn{0};
};

void Work(void* context) {
  auto* owner = static_cast<Owner*>(context);
  owner->runs++;
}

TEST(Thread, RunsTheBodyOnlyAfterStartBetweenBeginAndEndLines) {
  Utils::DebugLogCapture capture;
  Owner owner;
  Utils::Thread thread(&owner, L"ABDEF", Work);
  ASSERT_TRUE(thread.HasHandle());
  EXPECT_NE(thread.Id(), Utils::Thread::kNoThread);
  EXPECT_EQ(thread.DebuggerName(), "ABDEF");
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(owner.runs, 0);

  EXPECT_TRUE(thread.Start());
  thread.Join();
  EXPECT_EQ(owner.runs, 1);
  EXPECT_EQ(thread.Id(), Utils::Thread::kNoThread);
  EXPECT_FALSE(thread.HasHandle());

  const auto begin = capture.LinesContaining(L"THREAD BEGIN");
  const auto end = capture.LinesContaining(L"THREAD END");
  ASSERT_EQ(begin.size(), 1u);
  ASSERT_EQ(end.size(), 1u);
  EXPECT_NE(begin[0].find(L"(Utils::Thread::CallBack)<"), std::wstring::npos);
  EXPECT_EQ(begin[0].substr(begin[0].size() - 14), L"THREAD BEGIN\r\n");
}

TEST(Thread, EmptyNameBecomesTPlusId) {
  Owner owner;
  Utils::Thread thread(&owner, L"", Work);
  ASSERT_TRUE(thread.HasHandle());
  EXPECT_EQ(thread.DebuggerName(), "t" + std::to_string(thread.Id()));
  thread.Start();
}

TEST(Thread, JoinTwiceAndStartTwice) {
  Owner owner;
  Utils::Thread thread(&owner, L"UnInstaller", Work);
  EXPECT_TRUE(thread.Start());
  EXPECT_FALSE(thread.Start());
  thread.Join();
  thread.Join();
  EXPECT_FALSE(thread.Start());
  EXPECT_EQ(owner.runs, 1);
}

TEST(Thread, AnUnstartedWrapperEndsWithoutRunningItsBody) {
  Utils::DebugLogCapture capture;
  Owner owner;
  { Utils::Thread thread(&owner, L"ABDEF", Work); }
  Utils::Thread joined(&owner, L"ABDEF", Work);
  joined.Join();
  EXPECT_EQ(owner.runs, 0);
  EXPECT_TRUE(capture.LinesContaining(L"THREAD BEGIN").empty());
}

TEST(Thread, BodySeesItsOwnContext) {
  Owner first, second;
  Utils::Thread a(&first, L"ABDEF", Work);
  Utils::Thread b(&second, L"ABDEF", [](void* c) { static_cast<Owner*>(c)->runs += 10; });
  a.Start();
  b.Start();
  a.Join();
  b.Join();
  EXPECT_EQ(first.runs, 1);
  EXPECT_EQ(second.runs, 10);
}

TEST(StopWatch, ReadsZeroWhenNotRunning) {
  Utils::StopWatch watch;
  EXPECT_EQ(watch.Seconds(), 0.0f);
  watch.Start();
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_GE(watch.Seconds(), 0.04f);
  watch.Stop();
  EXPECT_EQ(watch.Seconds(), 0.0f);
}

}  // namespace
