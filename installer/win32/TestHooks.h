#pragma once
// What only a test build can be told to do, through the environment: cause a
// fault (QUORVANE_TEST_TRIGGER) or answer every network check with a given
// state (QUORVANE_TEST_NETWORK_STATE; wine always reports a connected
// machine). The test build defines QUORVANE_TEST_HOOKS; in the shipped build
// every hook is empty and no hook's name is in the file.
//
// A new hook is one more inline function here, and an empty twin in the
// shipped build's branch.

#ifdef QUORVANE_TEST_HOOKS

#include <windows.h>

#include <cstdint>
#include <cwchar>
#include <new>
#include <optional>
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

inline std::optional<int32_t> ForcedNetworkState() {
  wchar_t value[32] = {};
  const DWORD length = GetEnvironmentVariableW(L"QUORVANE_TEST_NETWORK_STATE", value, 32);
  if (length == 0 || length >= 32) return std::nullopt;
  return static_cast<int32_t>(std::wcstol(value, nullptr, 0));
}

}  // namespace TestHooks

#else

#include <cstdint>
#include <optional>

namespace TestHooks {

inline void CrashIfTriggered() {}
inline std::optional<int32_t> ForcedNetworkState() { return std::nullopt; }

}  // namespace TestHooks

#endif
