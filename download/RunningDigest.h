#pragma once
// The digest of a file being appended to, kept up to date as bytes are
// written, so checking a finished download needs no second pass over it.

#include <cstdint>
#include <string>

#include "utils/Md5.h"

class RunningDigest {
 public:
  // Starts over from what the file holds now: nothing when it does not exist.
  void Restart(const std::wstring& path);
  void Add(const void* data, size_t size);
  int64_t Length() const { return length_; }
  // The hex digest, when the file at `path` holds exactly as many bytes as
  // were added; empty otherwise (a write that never reached the disk).
  std::string HexFor(const std::wstring& path) const;

 private:
  Utils::Md5 md5_;
  int64_t length_ = 0;
};
