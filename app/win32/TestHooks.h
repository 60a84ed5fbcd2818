#pragma once
// Faults only a test build can be told to cause, through the environment
// variable QUORVANE_TEST_TRIGGER. The test build defines QUORVANE_TEST_HOOKS;
// in the shipped build every hook is empty and no trigger's name is in the file.
//
// A new hook is one more inline function here that compares Trigger() with
// its value, and an empty twin in the shipped build's branch.

#ifdef QUORVANE_TEST_HOOKS

#include <windows.h>

#include <new>
#include <string>

namespace TestHooks {

// The trigger's value, empty when it is not set.
inline std::wstring Trigger() {
  wchar_t value[64] = {};
  const DWORD length = GetEnvironmentVariableW(L"QUORVANE_TEST_TRIGGER", value, 64);
  return length > 0 && length < 64 ? std::wstring(value, length) : std::wstring();
}

// "terminate": a C++ exception nobody catches.
inline void CrashIfTriggered() {
  if (Trigger() == L"terminate") throw std::bad_alloc();
}

}  // namespace TestHooks

#else

namespace TestHooks {

inline void CrashIfTriggered() {}

}  // namespace TestHooks

#endif
