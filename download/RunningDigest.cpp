#include "download/RunningDigest.h"

#include <vector>

#include "utils/File.h"

void RunningDigest::Restart(const std::wstring& path) {
  md5_ = Utils::Md5();
  length_ = 0;
  Utils::File file = Utils::File::Open(path, Utils::File::Mode::kRead);
  if (!file.IsOpen()) return;
  std::vector<char> buffer(1 << 20);
  int64_t got;
  while ((got = file.Read(buffer.data(), buffer.size())) > 0) Add(buffer.data(), static_cast<size_t>(got));
}

void RunningDigest::Add(const void* data, size_t size) {
  md5_.Update(data, size);
  length_ += static_cast<int64_t>(size);
}

std::string RunningDigest::HexFor(const std::wstring& path) const {
  if (Utils::FileSize(path) != length_) return {};
  Utils::Md5 copy = md5_;
  return Utils::Md5::Hex(copy.Finish());
}
