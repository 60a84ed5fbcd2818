#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <condition_variable>
#include <mutex>

#include "utils/Encoding.h"
#include "utils/Log.h"
#include "utils/Thread.h"

namespace Utils {

// POSIX threads cannot start suspended: the new thread publishes its id and
// then waits at a gate until Start (or teardown) opens it.
struct Thread::Native {
  pthread_t thread{};
  bool joinable = false;
  std::mutex mutex;
  std::condition_variable changed;
  bool idPublished = false;
  bool gateOpen = false;
  uint32_t id = kNoThread;

  void OpenGate() {
    std::lock_guard<std::mutex> lock(mutex);
    gateOpen = true;
    changed.notify_all();
  }
};

void Thread::NativeDeleter::operator()(Native* native) const { delete native; }

struct ThreadEntry {
  static void* Run(void* parameter) {
    auto* self = static_cast<Thread*>(parameter);
    Thread::Native& native = *self->native_;
    {
      std::unique_lock<std::mutex> lock(native.mutex);
      native.id = static_cast<uint32_t>(syscall(SYS_gettid));
      native.idPublished = true;
      native.changed.notify_all();
      native.changed.wait(lock, [&] { return native.gateOpen; });
    }
    Thread::CallBack(self);
    return nullptr;
  }
};

Thread::Thread(void* context, std::wstring name, Body body)
    : body_(std::move(body)), context_(context), name_(std::move(name)) {
  Create();
}

void Thread::Create() {
  native_.reset(new Native());
  const int failed = pthread_create(&native_->thread, nullptr, &ThreadEntry::Run, this);
  if (failed != 0) {
    UTILS_LOG(L"the thread %ls cannot be made: pthread_create failed (error %d)", name_.c_str(), failed);
    return;
  }
  native_->joinable = true;
  {
    std::unique_lock<std::mutex> lock(native_->mutex);
    native_->changed.wait(lock, [&] { return native_->idPublished; });
    threadId_ = native_->id;
  }
  debuggerName_ =
      name_.empty() ? "t" + std::to_string(threadId_) : ToNarrow(name_, kCodePageAnsi);
  pthread_setname_np(native_->thread, debuggerName_.substr(0, 15).c_str());
}

bool Thread::HasHandle() const { return native_ && native_->joinable; }

bool Thread::IsCurrentThread() const {
  return HasHandle() && pthread_equal(pthread_self(), native_->thread) != 0;
}

bool Thread::Start() {
  if (!HasHandle() || started_) return false;
  started_ = true;
  native_->OpenGate();
  return true;
}

void Thread::ReleaseUnstarted() {
  cancelled_ = true;
  native_->OpenGate();
}

void Thread::WaitAndClose() {
  pthread_join(native_->thread, nullptr);
  native_->joinable = false;
}

}  // namespace Utils
