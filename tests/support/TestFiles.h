#pragma once
// Scratch files and folders for tests, removed when the test ends.

#include <filesystem>
#include <string>

namespace TestSupport {

// Wide paths to and from std::filesystem without the C locale's say (the
// native build's file names are UTF-8).
std::filesystem::path FsPath(const std::wstring& path);
std::wstring WidePath(const std::filesystem::path& path);

// A path of the build machine (a Unix path, in UTF-8) as the tests' system
// names it: wine shows the Unix root as drive Z:.
std::string HostPath(std::string path);

// The folder holding the running test program, ending in a separator.
std::wstring ProgramFolder();
// A program of the build beside the running test: "name.exe" on Windows.
std::wstring SiblingProgram(const std::wstring& name);

// A new empty folder (ending in a separator), removed with its contents on destruction.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::wstring& nameHint = L"t");
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::wstring& Path() const { return path_; }
  std::wstring operator/(const std::wstring& name) const { return path_ + name; }

 private:
  std::wstring path_;
};

void WriteFile(const std::wstring& path, const std::string& bytes);
// A file of `size` zero bytes that takes no disk: its length is set, nothing written.
bool MakeSparseFile(const std::wstring& path, long long size);
bool CopyFileTo(const std::wstring& from, const std::wstring& to);
// A copy of `from` at `to` with the byte in its middle changed; `to`.
std::wstring TamperedCopy(const std::wstring& from, const std::wstring& to);
void RemoveTree(const std::wstring& path);

}  // namespace TestSupport
