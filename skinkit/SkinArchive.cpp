#include "skinkit/SkinArchive.h"

#include "skinkit/Values.h"

namespace SkinKit {

const ArchiveEntry* SkinArchive::Find(const std::wstring& name) const {
  std::wstring wanted = name;
  for (wchar_t& c : wanted) {
    if (c == L'\\') c = L'/';
  }
  for (const ArchiveEntry& entry : Entries()) {
    if (entry.name.size() == wanted.size() && EqualsNoCase(entry.name, wanted)) return &entry;
  }
  return nullptr;
}

const ArchiveEntry* SkinArchive::EntryAt(uint32_t index) const {
  for (const ArchiveEntry& entry : Entries()) {
    if (entry.index == index) return &entry;
  }
  return nullptr;
}

}  // namespace SkinKit
