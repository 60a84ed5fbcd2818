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

class SkinPackage {
 public:
  static SkinPackage& Instance();

  // When the current package is not "memory" yet: asks `loadResource` for the
  // package bytes, keeps them, and opens them as the package "memory". Does
  // nothing when "memory" is already current. False when the bytes are
  // missing or empty (the window then stays empty) or not an archive.
  bool EnsureMemoryPackage(const std::function<std::vector<uint8_t>()>& loadResource);

  // "memory" once a package from memory is open, else empty.
  const std::wstring& CurrentName() const { return name_; }

  // Null when no package is open or it holds no such file.
  const ArchiveEntry* Find(const std::wstring& name) const;

  // Drops the package (tests start from a process without one).
  void Close();

 private:
  std::wstring name_;
  std::vector<uint8_t> bytes_;
  std::unique_ptr<SkinArchive> archive_;
};

}  // namespace SkinKit
