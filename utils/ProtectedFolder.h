#pragma once
// A folder made fresh for one run under a random name, that only the system
// and administrators can open (Windows: an explicit DACL that inherits
// nothing; elsewhere mode 0700), so no unelevated process can plant, swap or
// change a file in it. Removed with its contents when its owner is done.

#include <memory>
#include <string>

namespace Utils {

class ProtectedFolder {
  struct Made {
    explicit Made() = default;
  };

 public:
  // A new folder under `parent`; null when none could be made. A name that
  // exists already is never taken over.
  static std::unique_ptr<ProtectedFolder> Create(const std::wstring& parent);

  ProtectedFolder(Made, std::wstring path) : path_(std::move(path)) {}  // through Create only
  ~ProtectedFolder();
  ProtectedFolder(const ProtectedFolder&) = delete;
  ProtectedFolder& operator=(const ProtectedFolder&) = delete;

  // Without a trailing separator; still names the folder once it is removed.
  const std::wstring& Path() const { return path_; }
  // Deletes what the folder holds (links as themselves, never what they point
  // to) and the folder; true when it is gone. Later calls do nothing more.
  bool Remove();

 private:
  std::wstring path_;
  bool removed_ = false;
};

// Where run folders are made: the system's own temporary folder, in which a
// user may create folders but not remove or rename another's (elsewhere
// TMPDIR, else /tmp).
std::wstring ProtectedFolderRoot();

namespace detail {
enum class MadeFolder { kMade, kExists, kFailed };
// The platform's side of the above.
bool RandomBytes(void* buffer, size_t size);
MadeFolder MakeFolderForAdministrators(const std::wstring& path);
bool RemoveFolderTree(const std::wstring& path);
}  // namespace detail

}  // namespace Utils
