#include "utils/Thread.h"

#include "utils/Encoding.h"
#include "utils/Log.h"

namespace Utils {

void Thread::CallBack(Thread* self) {
  if (self->cancelled_) return;
  UTILS_LOG(L"THREAD BEGIN");
  self->body_(self->context_);
  UTILS_LOG(L"THREAD END");
}

void Thread::Join() {
  if (!HasHandle()) return;
  if (!started_) ReleaseUnstarted();
  WaitAndClose();
  threadId_ = kNoThread;
}

Thread::~Thread() {
  Join();
  name_.clear();
}

}  // namespace Utils
