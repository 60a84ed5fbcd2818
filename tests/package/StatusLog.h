#pragma once
// Collects the status codes a runner reports, from whichever thread.

#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "utils/Encoding.h"
#include "utils/StatusCodes.h"

struct Status {
  int code;
  double value;
  std::wstring text;
  bool operator==(const Status& other) const {
    return code == other.code && value == other.value && text == other.text;
  }
};

inline void PrintTo(const Status& s, std::ostream* out) {
  *out << "{" << s.code << ", " << s.value << ", \"" << Utils::ToNarrow(s.text, 65001) << "\"}";
}

class StatusLog {
 public:
  StatusCallback Callback() {
    return [this](int code, double value, const wchar_t* text) {
      std::lock_guard<std::mutex> lock(mutex_);
      entries_.push_back({code, value, text});
    };
  }
  std::vector<Status> Entries() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return entries_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Status> entries_;
};
