#include <windows.h>
#include <process.h>

#include <cerrno>

#include "utils/Encoding.h"
#include "utils/Log.h"
#include "utils/Thread.h"
#include "utils/UniqueHandle.h"

namespace Utils {

struct Thread::Native {
  UniqueOsHandle handle;
};

void Thread::NativeDeleter::operator()(Native* native) const { delete native; }

struct ThreadEntry {
  static unsigned __stdcall Run(void* parameter) {
    Thread::CallBack(static_cast<Thread*>(parameter));
    _endthreadex(0);
    return 0;
  }
};

namespace {

constexpr DWORD kSetThreadNameException = 0x406D1388;

// Without a debugger nobody else handles the naming exception; this handler
// (added only around the raise) lets execution go on after it.
LONG CALLBACK ContinueAfterThreadName(EXCEPTION_POINTERS* info) {
  return info->ExceptionRecord->ExceptionCode == kSetThreadNameException
             ? EXCEPTION_CONTINUE_EXECUTION
             : EXCEPTION_CONTINUE_SEARCH;
}

void AnnounceThreadName(const std::string& name, DWORD threadId) {
#pragma pack(push, 8)
  struct {
    DWORD type;
    LPCSTR name;
    DWORD threadId;
    DWORD flags;
  } info = {0x1000, name.c_str(), threadId, 0};
#pragma pack(pop)
  void* handler = AddVectoredExceptionHandler(1, ContinueAfterThreadName);
  if (handler == nullptr) return;
  RaiseException(kSetThreadNameException, 0, sizeof info / sizeof(ULONG_PTR),
                 reinterpret_cast<const ULONG_PTR*>(&info));
  RemoveVectoredExceptionHandler(handler);
}

}  // namespace

Thread::Thread(void* context, std::wstring name, Body body)
    : body_(std::move(body)), context_(context), name_(std::move(name)) {
  Create();
}

void Thread::Create() {
  native_.reset(new Native());
  unsigned id = 0;
  const uintptr_t handle =
      _beginthreadex(nullptr, 0, &ThreadEntry::Run, this, CREATE_SUSPENDED, &id);
  if (handle == 0) {
    UTILS_LOG(L"the thread %ls cannot be made: _beginthreadex failed (errno %d)", name_.c_str(), errno);
    return;
  }
  native_->handle.reset(reinterpret_cast<HANDLE>(handle));
  threadId_ = id;
  debuggerName_ = name_.empty() ? "t" + std::to_string(id) : ToNarrow(name_, kCodePageAnsi);
  AnnounceThreadName(debuggerName_, id);
}

bool Thread::HasHandle() const { return native_ && native_->handle.valid(); }

bool Thread::IsCurrentThread() const { return HasHandle() && GetCurrentThreadId() == threadId_; }

bool Thread::Start() {
  if (!HasHandle() || started_) return false;
  if (ResumeThread(native_->handle.get()) == static_cast<DWORD>(-1)) {
    UTILS_LOG(L"the thread %ls cannot start: ResumeThread failed (error %lu)", name_.c_str(), GetLastError());
    return false;
  }
  started_ = true;
  return true;
}

void Thread::ReleaseUnstarted() {
  cancelled_ = true;
  ResumeThread(native_->handle.get());
}

void Thread::WaitAndClose() {
  WaitForSingleObject(native_->handle.get(), INFINITE);
  native_->handle.reset();
}

}  // namespace Utils
