#pragma once
// The tracker's event log. In this installer it receives no records: having
// one is what lets the tracker's wrapper report failed calls.

#include <cstdint>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

namespace zorvik::tracking {

class TrackLogger {
 public:
  virtual ~TrackLogger() = default;
  // Up to `count` records from `first` on; the installer never reads them.
  virtual void read(std::vector<std::string>& records, uint32_t first, uint32_t count) = 0;
  virtual void clear() = 0;
};

class NativeTrackLogger : public TrackLogger {
 public:
  NativeTrackLogger() = default;
  ~NativeTrackLogger() override;
  NativeTrackLogger(const NativeTrackLogger&) = delete;
  NativeTrackLogger& operator=(const NativeTrackLogger&) = delete;

  // Creates the file empty when missing and keeps an existing file as it is.
  void open(const std::string& path);
  void close();

  void read(std::vector<std::string>& records, uint32_t first, uint32_t count) override;
  void clear() override;

 private:
  std::string path_;
  std::fstream stream_;
  std::mutex mutex_;  // tried, never waited for
  int32_t cursor_ = -1;
};

}  // namespace zorvik::tracking
