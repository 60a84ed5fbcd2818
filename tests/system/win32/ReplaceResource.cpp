// replace-resource EXE TYPE ID LANGID FILE
// Puts FILE's bytes in place of one resource of EXE (the other resources
// stay), as a damaged or changed build would carry it.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// The update is thrown away unless Commit() succeeded.
class ResourceUpdate {
 public:
  explicit ResourceUpdate(const wchar_t* exe) : handle_(BeginUpdateResourceW(exe, FALSE)) {}
  ~ResourceUpdate() {
    if (handle_ != nullptr) EndUpdateResourceW(handle_, TRUE);
  }
  ResourceUpdate(const ResourceUpdate&) = delete;
  ResourceUpdate& operator=(const ResourceUpdate&) = delete;

  bool Started() const { return handle_ != nullptr; }
  bool Replace(const wchar_t* type, int id, WORD language, std::vector<char>& bytes) {
    return UpdateResourceW(handle_, type, MAKEINTRESOURCEW(id), language, bytes.data(),
                           static_cast<DWORD>(bytes.size())) != FALSE;
  }
  bool Commit() {
    const bool written = EndUpdateResourceW(handle_, FALSE) != FALSE;
    handle_ = nullptr;
    return written;
  }

 private:
  HANDLE handle_;
};

}  // namespace

int wmain(int argc, wchar_t** argv);

int wmain(int argc, wchar_t** argv) {
  if (argc != 6) {
    std::fprintf(stderr, "usage: replace-resource EXE TYPE ID LANGID FILE\n");
    return 2;
  }
  std::ifstream in(argv[5], std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in && !in.eof()) {
    std::fprintf(stderr, "cannot read the new bytes\n");
    return 1;
  }
  const int id = static_cast<int>(std::wcstol(argv[3], nullptr, 10));
  const auto language = static_cast<WORD>(std::wcstoul(argv[4], nullptr, 0));
  ResourceUpdate update(argv[1]);
  if (!update.Started() || !update.Replace(argv[2], id, language, bytes) || !update.Commit()) {
    std::fprintf(stderr, "cannot replace the resource (%lu)\n", GetLastError());
    return 1;
  }
  return 0;
}
