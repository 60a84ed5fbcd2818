#include <windows.h>

#include "utils/UniqueHandle.h"

namespace Utils {

KeepLastError::KeepLastError() : saved_(GetLastError()) {}
KeepLastError::~KeepLastError() { SetLastError(saved_); }

void OsHandleTraits::Close(Value value) { CloseHandle(value); }

}  // namespace Utils
