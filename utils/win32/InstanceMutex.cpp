#include "utils/win32/InstanceMutex.h"

#include <windows.h>

namespace Utils {

void InstanceMutex::Acquire() {
  if (handle_) return;
  const std::wstring name = kPrefix + baseName_;
  UniqueOsHandle mutex(CreateMutexW(nullptr, TRUE, name.c_str()));
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) return;  // another instance made it
  handle_ = std::move(mutex);
}

void InstanceMutex::Release() {
  if (!handle_) return;
  ReleaseMutex(handle_.get());
  handle_.reset();
}

}  // namespace Utils
