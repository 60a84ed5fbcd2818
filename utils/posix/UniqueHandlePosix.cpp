#include <unistd.h>

#include <cerrno>

#include "utils/UniqueHandle.h"

namespace Utils {

KeepLastError::KeepLastError() : saved_(static_cast<unsigned long>(errno)) {}
KeepLastError::~KeepLastError() { errno = static_cast<int>(saved_); }

void OsHandleTraits::Close(Value value) { close(value); }

}  // namespace Utils
