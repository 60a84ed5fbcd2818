#pragma once
// Files named by their UTF-16 path, so a folder whose name the ANSI code page
// cannot hold works like any other, and with 64-bit sizes and offsets in every
// build, so packages of 2 GiB and more work in the 32-bit product too.

#include <cstddef>
#include <cstdint>
#include <string>

#include "utils/UniqueHandle.h"

namespace Utils {

class File {
 public:
  enum class Mode {
    kRead,    // existing files only
    kAppend,  // created when missing; every write goes to the end
    // Existing files only; while it is open nobody may write, rename or
    // delete the file (Windows), so its bytes stay those that were read.
    kReadHeld,
  };

  File() = default;
  // Not open (`IsOpen` false) when the file cannot be opened in that mode.
  static File Open(const std::wstring& path, Mode mode);

  bool IsOpen() const { return handle_.valid(); }
  UniqueOsHandle::Value Native() const { return handle_.get(); }
  // Bytes read into `buffer`: 0 at the end of the file, -1 when reading fails.
  int64_t Read(void* buffer, size_t size);
  // True when every byte was written.
  bool Write(const void* data, size_t size);
  // The file's size now; -1 when it cannot be read.
  int64_t Size() const;

 private:
  explicit File(UniqueOsHandle handle) : handle_(std::move(handle)) {}
  UniqueOsHandle handle_;
};

// The size of the file at `path`; -1 when there is none or it cannot be read.
int64_t FileSize(const std::wstring& path);

// Renames `from` to `to`, replacing a file there; false when `from` stays.
bool MoveFileOver(const std::wstring& from, const std::wstring& to);

}  // namespace Utils
