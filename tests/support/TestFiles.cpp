#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>

#include "utils/Folders.h"
#include "utils/Log.h"

namespace fs = std::filesystem;

namespace TestSupport {

ScratchFolder::ScratchFolder(const std::wstring& nameHint) {
  static std::atomic<int> counter{0};
  const auto stamp = Utils::CurrentLogStamp();
  path_ = WidePath(fs::temp_directory_path()) + Utils::kPathSeparator + L"qv-" + nameHint + L"-" +
          std::to_wstring(stamp.processId) + L"-" + std::to_wstring(counter++) +
          Utils::kPathSeparator;
  RemoveTree(path_);
  if (!Utils::CreateDirectories(path_)) ADD_FAILURE() << "cannot create a scratch folder";
}

std::string HostPath(std::string path) {
#ifdef _WIN32
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  path = "Z:" + path;
#endif
  return path;
}

std::wstring SiblingProgram(const std::wstring& name) {
#ifdef _WIN32
  return ProgramFolder() + name + L".exe";
#else
  return ProgramFolder() + name;
#endif
}

ScratchFolder::~ScratchFolder() { RemoveTree(path_); }

void WriteFile(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(FsPath(path), std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) ADD_FAILURE() << "cannot write a test file";
}

bool CopyFileTo(const std::wstring& from, const std::wstring& to) {
  std::error_code error;
  return fs::copy_file(FsPath(from), FsPath(to), fs::copy_options::overwrite_existing, error);
}

std::wstring TamperedCopy(const std::wstring& from, const std::wstring& to) {
  if (!CopyFileTo(from, to)) ADD_FAILURE() << "cannot copy a test file";
  std::fstream file(FsPath(to), std::ios::binary | std::ios::in | std::ios::out);
  file.seekg(0, std::ios::end);
  const std::streamoff middle = file.tellg() / 2;
  file.seekg(middle);
  const char byte = static_cast<char>(file.get() ^ 0xFF);
  file.seekp(middle);
  file.put(byte);
  if (!file) ADD_FAILURE() << "cannot change a test file";
  return to;
}

void RemoveTree(const std::wstring& path) {
  std::error_code error;
  fs::remove_all(FsPath(path), error);
}

}  // namespace TestSupport
