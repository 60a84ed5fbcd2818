#include "download/RunningDigest.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace {

struct FileCloser {
  void operator()(FILE* file) const { std::fclose(file); }
};

}  // namespace

void RunningDigest::Restart(const std::string& path) {
  md5_ = Utils::Md5();
  length_ = 0;
  const std::unique_ptr<FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return;
  std::vector<char> buffer(1 << 20);
  size_t got;
  while ((got = std::fread(buffer.data(), 1, buffer.size(), file.get())) != 0) Add(buffer.data(), got);
}

void RunningDigest::Add(const void* data, size_t size) {
  md5_.Update(data, size);
  length_ += static_cast<int64_t>(size);
}

std::string RunningDigest::HexFor(const std::string& path) const {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || static_cast<int64_t>(info.st_size) != length_) return {};
  Utils::Md5 copy = md5_;
  return Utils::Md5::Hex(copy.Finish());
}
