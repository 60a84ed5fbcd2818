#pragma once
// The process-wide skin package: opened once, from a copy of the program's
// resource bytes, and kept with all its entries decompressed until the
// process ends, so every later window reads its description from memory.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skinkit/SkinArchive.h"

namespace SkinKit {

enum class PackageState {
  Open,        // "memory" is current
  Missing,     // no bytes: the window stays empty
  Unreadable,  // bytes that are no skin package: as bad as a broken description
};

class SkinPackage {
 public:
  static SkinPackage& Instance();

  // When the current package is not "memory" yet: asks `loadResource` for the
  // package bytes, keeps them, and opens them as the package "memory". Does
  // nothing when "memory" is already current. Bytes that could not be opened
  // are not asked for, nor decompressed, again: every later call answers
  // Unreadable at once.
  PackageState EnsureMemoryPackage(const std::function<std::vector<uint8_t>()>& loadResource);

  // "memory" once a package from memory is open, else empty.
  const std::wstring& CurrentName() const { return name_; }

  // Null when no package is open or it holds no such file.
  const ArchiveEntry* Find(const std::wstring& name) const;

  // Drops the package and a remembered failure (tests start from a process without one).
  void Close();

 private:
  std::wstring name_;
  std::vector<uint8_t> bytes_;
  std::unique_ptr<SkinArchive> archive_;
  bool unreadable_ = false;
};

}  // namespace SkinKit
