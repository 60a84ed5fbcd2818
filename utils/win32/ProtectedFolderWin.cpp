#include <windows.h>
#include <ntsecapi.h>
#include <sddl.h>

#include <memory>

#include "utils/Log.h"
#include "utils/ProtectedFolder.h"
#include "utils/win32/AdministratorsOnly.h"
#include "utils/win32/KeptLastError.h"

namespace Utils {
namespace {

// Full control for SYSTEM and Administrators, inherited by everything made
// inside, and nothing inherited from the parent ("P"): no one else can list,
// read, write or delete there.
constexpr wchar_t kAdministratorsOnly[] = L"D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";

bool RemoveEntry(const std::wstring& path, const WIN32_FIND_DATAW& entry) {
  const bool folder = (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const bool link = (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  if (folder && !link) return detail::RemoveFolderTree(path);
  if ((entry.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
    SetFileAttributesW(path.c_str(), entry.dwFileAttributes & ~FILE_ATTRIBUTE_READONLY);
  }
  // A link to a folder goes as a folder, without entering it.
  if (folder ? RemoveDirectoryW(path.c_str()) : DeleteFileW(path.c_str())) return true;
  const KeptLastError error;
  UTILS_LOG(L"%ls [%ls] failed (error %lu)", folder ? L"RemoveDirectoryW" : L"DeleteFileW", path.c_str(),
            error.value());
  return false;
}

struct FindCloser {
  void operator()(HANDLE find) const { FindClose(find); }
};

}  // namespace

void LocalFreeDeleter::operator()(void* memory) const { LocalFree(memory); }

LocalMemory AdministratorsOnlyDescriptor() {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kAdministratorsOnly, SDDL_REVISION_1, &descriptor,
                                                            nullptr)) {
    const KeptLastError error;
    UTILS_LOG(L"ConvertStringSecurityDescriptorToSecurityDescriptorW failed (error %lu)", error.value());
    return nullptr;
  }
  return LocalMemory(descriptor);
}

std::wstring ProtectedFolderRoot() {
  // The system's folder, not GetWindowsDirectory's, which is per user on a
  // terminal server.
  wchar_t windows[MAX_PATH] = {};
  const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  std::wstring root(windows, length);
  if (root.back() != L'\\') root += L'\\';
  return root + L"Temp";
}

namespace detail {

bool RandomBytes(void* buffer, size_t size) {
  if (RtlGenRandom(buffer, static_cast<ULONG>(size))) return true;
  const KeptLastError error;
  UTILS_LOG(L"RtlGenRandom failed (error %lu)", error.value());
  return false;
}

MadeFolder MakeFolderForAdministrators(const std::wstring& path) {
  // Made with its DACL in the one call, so there is no moment in which the
  // folder has another.
  const LocalMemory descriptor = AdministratorsOnlyDescriptor();
  if (!descriptor) return MadeFolder::kFailed;
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.get(), FALSE};
  if (CreateDirectoryW(path.c_str(), &attributes)) return MadeFolder::kMade;
  const KeptLastError error;
  if (error.value() == ERROR_ALREADY_EXISTS) return MadeFolder::kExists;
  UTILS_LOG(L"CreateDirectoryW [%ls] failed (error %lu)", path.c_str(), error.value());
  return MadeFolder::kFailed;
}

bool RemoveFolderTree(const std::wstring& path) {
  WIN32_FIND_DATAW entry{};
  HANDLE first = FindFirstFileW((path + L"\\*").c_str(), &entry);
  if (first != INVALID_HANDLE_VALUE) {
    const std::unique_ptr<void, FindCloser> find(first);
    do {
      const std::wstring name = entry.cFileName;
      if (name != L"." && name != L"..") RemoveEntry(path + L"\\" + name, entry);
    } while (FindNextFileW(find.get(), &entry));
  }
  if (RemoveDirectoryW(path.c_str())) return true;
  const KeptLastError error;  // the removal's, not the look that follows
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;  // gone all the same
  UTILS_LOG(L"RemoveDirectoryW [%ls] failed (error %lu)", path.c_str(), error.value());
  return false;
}

}  // namespace detail
}  // namespace Utils
