#pragma once

#include <string>

#include "utils/UniqueHandle.h"

namespace Utils {

// One copy of the installer at a time: a named mutex created initially owned.
class InstanceMutex {
 public:
  static constexpr wchar_t kPrefix[] = L"D1A547DB89C0BC61_";

  explicit InstanceMutex(std::wstring baseName) : baseName_(std::move(baseName)) {}
  ~InstanceMutex() { Release(); }
  InstanceMutex(const InstanceMutex&) = delete;
  InstanceMutex& operator=(const InstanceMutex&) = delete;

  // Holding a handle afterwards means this is the first instance.
  void Acquire();
  bool Held() const { return handle_.valid(); }
  void Release();

 private:
  std::wstring baseName_;
  UniqueOsHandle handle_;
};

}  // namespace Utils
