#pragma once
// An owned C runtime stream, closed when it goes.

#include <cstdio>

#include "utils/UniqueHandle.h"

namespace Utils {

struct StdioFileTraits {
  using Value = std::FILE*;
  static Value Empty() { return nullptr; }
  static bool IsValid(Value value) { return value != nullptr; }
  static void Close(Value value) { std::fclose(value); }
};

using UniqueStdioFile = UniqueHandle<StdioFileTraits>;

}  // namespace Utils
