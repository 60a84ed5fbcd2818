#pragma once

#include <objbase.h>

// COM for the calling thread while in scope; balanced even when it was
// initialised already (S_FALSE).
class ComScope {
 public:
  ComScope() : initialised_(SUCCEEDED(CoInitialize(nullptr))) {}
  ~ComScope() {
    if (initialised_) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

 private:
  bool initialised_;
};
