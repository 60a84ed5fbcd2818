#include "tracker/TrackLogger.h"

namespace zorvik::tracking {

NativeTrackLogger::~NativeTrackLogger() { close(); }

void NativeTrackLogger::open(const std::string& path) {
  std::unique_lock<std::mutex> lock(mutex_, std::try_to_lock);
  if (!lock.owns_lock()) return;
  if (!path.empty() && path == path_) return;
  if (stream_.is_open()) stream_.close();
  cursor_ = 0;
  // in | out | app creates a missing file and never truncates an existing one.
  stream_.open(path, std::ios::in | std::ios::out | std::ios::app | std::ios::binary);
  path_ = path;
}

void NativeTrackLogger::close() {
  std::unique_lock<std::mutex> lock(mutex_, std::try_to_lock);
  if (!lock.owns_lock()) return;
  if (stream_.is_open()) stream_.close();
  cursor_ = -1;
}

void NativeTrackLogger::read(std::vector<std::string>& records, uint32_t first, uint32_t count) {
  std::unique_lock<std::mutex> lock(mutex_, std::try_to_lock);
  if (!lock.owns_lock() || !stream_.is_open()) return;
  stream_.clear();
  stream_.seekg(0);
  std::string line;
  for (uint32_t index = 0; std::getline(stream_, line) && records.size() < count; ++index) {
    if (index >= first) records.push_back(line);
  }
  stream_.clear();
}

void NativeTrackLogger::clear() {
  std::unique_lock<std::mutex> lock(mutex_, std::try_to_lock);
  if (!lock.owns_lock() || path_.empty()) return;
  if (stream_.is_open()) stream_.close();
  { std::ofstream truncate(path_, std::ios::trunc | std::ios::binary); }
  stream_.open(path_, std::ios::in | std::ios::out | std::ios::app | std::ios::binary);
  cursor_ = 0;
}

}  // namespace zorvik::tracking
