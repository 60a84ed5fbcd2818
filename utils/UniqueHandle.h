#pragma once
// Move-only owner of one handle of any kind. The traits name the empty value
// and how a handle is closed; each platform supplies OsHandleTraits.

#include <utility>

namespace Utils {

// The calling thread's last error (GetLastError, errno) is put back as it was
// when this was made: closing a handle never changes what a failed call before
// it reported.
class KeepLastError {
 public:
  KeepLastError();
  ~KeepLastError();
  KeepLastError(const KeepLastError&) = delete;
  KeepLastError& operator=(const KeepLastError&) = delete;

 private:
  unsigned long saved_;
};

template <typename Traits>
class UniqueHandle {
 public:
  using Value = typename Traits::Value;

  UniqueHandle() = default;
  explicit UniqueHandle(Value value) : value_(value) {}
  ~UniqueHandle() { reset(); }

  UniqueHandle(UniqueHandle&& other) noexcept : value_(other.release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Value get() const { return value_; }
  bool valid() const { return Traits::IsValid(value_); }
  explicit operator bool() const { return valid(); }

  void reset(Value value = Traits::Empty()) {
    if (valid()) {
      const KeepLastError kept;
      Traits::Close(value_);
    }
    value_ = value;
  }
  [[nodiscard]] Value release() { return std::exchange(value_, Traits::Empty()); }
  // Where a call that hands out a handle writes it; closes the one held.
  Value* out() {
    reset();
    return &value_;
  }

 private:
  Value value_ = Traits::Empty();
};

#ifdef _WIN32
struct OsHandleTraits {
  using Value = void*;  // HANDLE
  static Value Empty() { return nullptr; }
  static bool IsValid(Value value) { return value != nullptr && value != reinterpret_cast<void*>(-1); }
  static void Close(Value value);
};
#else
struct OsHandleTraits {
  using Value = int;  // file descriptor
  static Value Empty() { return -1; }
  static bool IsValid(Value value) { return value >= 0; }
  static void Close(Value value);
};
#endif

using UniqueOsHandle = UniqueHandle<OsHandleTraits>;

}  // namespace Utils
