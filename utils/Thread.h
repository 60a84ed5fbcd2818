#pragma once
// The one worker-thread wrapper: created suspended, named for debuggers, runs
// its body with a context pointer between "THREAD BEGIN" and "THREAD END"
// diagnostic lines, and is joined by its owner.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace Utils {

class Thread {
 public:
  using Body = std::function<void(void*)>;
  static constexpr uint32_t kNoThread = 0xFFFFFFFFu;

  // Creates the thread suspended; without a handle afterwards creation failed.
  Thread(void* context, std::wstring name, Body body);
  // Waits for the thread. A thread that was never started is released without
  // running its body, so dropping an unstarted wrapper cannot hang its owner.
  ~Thread();
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  bool Start();
  void Join();

  bool HasHandle() const;
  uint32_t Id() const { return threadId_; }
  // True on the wrapper's own thread: it must not join itself.
  bool IsCurrentThread() const;
  // The narrow (ANSI code page) name announced to debuggers.
  const std::string& DebuggerName() const { return debuggerName_; }

 private:
  friend struct ThreadEntry;
  struct Native;
  struct NativeDeleter {
    void operator()(Native* native) const;  // per platform, where Native is complete
  };

  static void CallBack(Thread* self);
  void Create();          // per platform
  void ReleaseUnstarted();  // per platform: lets a never-started thread end
  void WaitAndClose();    // per platform

  Body body_;
  void* context_;
  std::wstring name_;
  std::string debuggerName_;
  uint32_t threadId_ = kNoThread;
  bool started_ = false;
  std::atomic<bool> cancelled_{false};
  std::unique_ptr<Native, NativeDeleter> native_;
};

}  // namespace Utils
