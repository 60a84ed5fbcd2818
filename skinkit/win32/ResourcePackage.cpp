#include "skinkit/win32/ResourcePackage.h"

#include "skinkit/SkinPackage.h"

namespace SkinKit {

std::vector<uint8_t> LoadSkinResource(HMODULE module, int id) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), kSkinResourceType);
  if (!found) return {};
  const DWORD size = SizeofResource(module, found);
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes || size == 0) return {};
  const auto* first = static_cast<const uint8_t*>(bytes);
  return std::vector<uint8_t>(first, first + size);
}

PackageState EnsureSkinResource(HMODULE module, int id) {
  return SkinPackage::Instance().EnsureMemoryPackage([module, id] { return LoadSkinResource(module, id); });
}

}  // namespace SkinKit
