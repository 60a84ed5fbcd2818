#pragma once
// Misuse of the tracker (a record that fails its checks, an enumeration value
// outside its table). Thrown inside the tracker and caught by its wrapper.

#include <exception>
#include <string>
#include <utility>

namespace zorvik::tracking {

class ZkException : public std::exception {
 public:
  ZkException(std::string message, std::string file, std::string function, int line)
      : message_(std::move(message)), file_(std::move(file)), function_(std::move(function)),
        line_(line) {}

  const char* what() const noexcept override { return message_.c_str(); }
  const std::string& file() const { return file_; }
  const std::string& function() const { return function_; }
  int line() const { return line_; }

 private:
  std::string message_;
  std::string file_;
  std::string function_;
  int line_;
};

}  // namespace zorvik::tracking

// `source` names the component ("ZkTrackerImpl", "ZkContextProperties", "NativeUserTracker").
#define ZK_THROW(source, function, message) \
  throw ::zorvik::tracking::ZkException((message), (source), (function), __LINE__)
