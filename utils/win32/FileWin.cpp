#include <windows.h>

#include "utils/File.h"
#include "utils/Log.h"
#include "utils/win32/KeptLastError.h"

namespace Utils {

File File::Open(const std::wstring& path, Mode mode) {
  // Others may read and write as they could with the C runtime's files;
  // append access alone makes the system put every write at the end. A held
  // file shares reading only, which starting a program from it needs.
  const bool append = mode == Mode::kAppend;
  const DWORD access = append ? FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE : GENERIC_READ;
  const DWORD sharing = mode == Mode::kReadHeld ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
  HANDLE handle = CreateFileW(path.c_str(), access, sharing, nullptr, append ? OPEN_ALWAYS : OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle != INVALID_HANDLE_VALUE) return File(UniqueOsHandle(handle));
  const KeptLastError error;
  UTILS_LOG(L"CreateFileW [%ls] failed (error %lu)", path.c_str(), error.value());
  return File();
}

int64_t File::Read(void* buffer, size_t size) {
  const DWORD ask = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
  DWORD got = 0;
  if (!ReadFile(handle_.get(), buffer, ask, &got, nullptr)) return -1;
  return got;
}

bool File::Write(const void* data, size_t size) {
  const auto* bytes = static_cast<const char*>(data);
  while (size > 0) {
    const DWORD ask = size > MAXDWORD ? MAXDWORD : static_cast<DWORD>(size);
    DWORD written = 0;
    if (!WriteFile(handle_.get(), bytes, ask, &written, nullptr) || written == 0) return false;
    bytes += written;
    size -= written;
  }
  return true;
}

int64_t File::Size() const {
  LARGE_INTEGER size{};
  return GetFileSizeEx(handle_.get(), &size) ? size.QuadPart : -1;
}

int64_t FileSize(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return -1;
  }
  return static_cast<int64_t>((static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
}

bool MoveFileOver(const std::wstring& from, const std::wstring& to) {
  if (MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  const KeptLastError error;
  UTILS_LOG(L"MoveFileExW [%ls] to [%ls] failed (error %lu)", from.c_str(), to.c_str(), error.value());
  return false;
}

}  // namespace Utils
