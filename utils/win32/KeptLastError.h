#pragma once
// A failure's error number, read once and put back when the scope ends: a
// diagnostic line written in between must not change what the caller then
// reads from GetLastError.

#include <windows.h>

namespace Utils {

class KeptLastError {
 public:
  KeptLastError() : value_(GetLastError()) {}
  ~KeptLastError() { SetLastError(value_); }
  KeptLastError(const KeptLastError&) = delete;
  KeptLastError& operator=(const KeptLastError&) = delete;

  DWORD value() const { return value_; }

 private:
  DWORD value_;
};

}  // namespace Utils
