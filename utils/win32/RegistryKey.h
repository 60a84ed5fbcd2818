#pragma once
// An owned registry key, closed when it goes.

#include <windows.h>

#include "utils/UniqueHandle.h"

namespace Utils {

struct RegistryKeyTraits {
  using Value = HKEY;
  static Value Empty() { return nullptr; }
  static bool IsValid(Value value) { return value != nullptr; }
  static void Close(Value value) { RegCloseKey(value); }
};

using UniqueRegistryKey = UniqueHandle<RegistryKeyTraits>;

}  // namespace Utils
