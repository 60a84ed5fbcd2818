#include "utils/ProtectedFolder.h"

#include <cstdint>

#include "utils/Folders.h"
#include "utils/Log.h"

namespace Utils {
namespace {

// A name nobody can guess ahead, so nobody can block the run by taking it first.
std::wstring RandomName() {
  uint8_t bytes[16];
  if (!detail::RandomBytes(bytes, sizeof bytes)) return {};
  static const wchar_t kDigits[] = L"0123456789abcdef";
  std::wstring name = L"Quorvane-";
  for (uint8_t byte : bytes) {
    name += kDigits[byte >> 4];
    name += kDigits[byte & 15];
  }
  return name;
}

}  // namespace

std::unique_ptr<ProtectedFolder> ProtectedFolder::Create(const std::wstring& parent) {
  // A clash with 128 random bits is somebody's doing; a few tries outlast chance.
  for (int attempt = 0; attempt < 4 && !parent.empty(); ++attempt) {
    const std::wstring name = RandomName();
    if (name.empty()) break;
    std::wstring path = parent;
    if (path.back() != kPathSeparator) path += kPathSeparator;
    path += name;
    switch (detail::MakeFolderForAdministrators(path)) {
      case detail::MadeFolder::kMade:
        return std::make_unique<ProtectedFolder>(Made{}, std::move(path));
      case detail::MadeFolder::kExists:
        UTILS_LOG(L"%ls exists already; another name is drawn", path.c_str());
        break;
      case detail::MadeFolder::kFailed:
        UTILS_LOG(L"no protected folder can be made in %ls", parent.c_str());
        return nullptr;
    }
  }
  return nullptr;
}

ProtectedFolder::~ProtectedFolder() { Remove(); }

bool ProtectedFolder::Remove() {
  if (!removed_) {
    removed_ = detail::RemoveFolderTree(path_);
    if (!removed_) UTILS_LOG(L"the folder %ls could not be removed yet", path_.c_str());
  }
  return removed_;
}

}  // namespace Utils
