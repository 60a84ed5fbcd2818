#include "skinkit/SkinPackage.h"

#include "skinkit/SevenZipArchive.h"

namespace SkinKit {

namespace {
constexpr wchar_t kMemoryPackage[] = L"memory";
}

SkinPackage& SkinPackage::Instance() {
  static SkinPackage package;
  return package;
}

PackageState SkinPackage::EnsureMemoryPackage(const std::function<std::vector<uint8_t>()>& loadResource) {
  if (name_ == kMemoryPackage) return PackageState::Open;
  if (unreadable_) return PackageState::Unreadable;
  std::vector<uint8_t> bytes = loadResource();
  if (bytes.empty()) return PackageState::Missing;
  std::unique_ptr<SkinArchive> archive = SevenZipArchive::OpenMemory(bytes.data(), bytes.size());
  if (!archive) {
    unreadable_ = true;
    return PackageState::Unreadable;
  }
  bytes_ = std::move(bytes);
  archive_ = std::move(archive);
  name_ = kMemoryPackage;
  return PackageState::Open;
}

const ArchiveEntry* SkinPackage::Find(const std::wstring& name) const {
  return archive_ ? archive_->Find(name) : nullptr;
}

void SkinPackage::Close() {
  archive_.reset();
  bytes_.clear();
  name_.clear();
  unreadable_ = false;
}

}  // namespace SkinKit
