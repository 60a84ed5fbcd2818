#pragma once
// A 7z skin archive (LZMA2, solid) read with the LZMA SDK. The whole archive
// is decompressed when it is opened; lookups afterwards only touch memory.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "skinkit/SkinArchive.h"

namespace SkinKit {

class SevenZipArchive final : public SkinArchive {
 public:
  // Null when the bytes are not a readable 7z archive (`error` says why).
  static std::unique_ptr<SevenZipArchive> OpenMemory(const uint8_t* data, size_t size,
                                                     std::wstring* error = nullptr);
  // Reads the whole file and opens it from memory.
  static std::unique_ptr<SevenZipArchive> OpenFile(const std::wstring& path,
                                                   std::wstring* error = nullptr);

  const std::vector<ArchiveEntry>& Entries() const override { return entries_; }

 private:
  std::vector<ArchiveEntry> entries_;
};

}  // namespace SkinKit
