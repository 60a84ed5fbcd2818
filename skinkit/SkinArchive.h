#pragma once
// The package interface every skin archive reader sits behind, and the
// decompressed entries it holds.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace SkinKit {

struct ArchiveEntry {
  std::wstring name;  // folder separators are '/'
  uint32_t index = 0;  // position in the archive
  std::vector<uint8_t> data;  // the whole file, decompressed when the archive opened
};

class SkinArchive {
 public:
  virtual ~SkinArchive() = default;

  // Every file entry, in archive order (folders are skipped).
  virtual const std::vector<ArchiveEntry>& Entries() const = 0;

  // '\' in `name` counts as '/', letters match in any case; the first entry of
  // the same length that matches wins. Null when there is none.
  const ArchiveEntry* Find(const std::wstring& name) const;
  // Null when `index` names no file entry.
  const ArchiveEntry* EntryAt(uint32_t index) const;
};

}  // namespace SkinKit
