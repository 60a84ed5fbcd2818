#pragma once
// A small request wrapper over one libcurl easy handle.

#include <map>
#include <memory>
#include <string>

namespace zk_analytics {

struct HttpResponse {
  int32_t statusCode = -1;  // the HTTP status, or -1 when the request did not run
  std::string body;         // or the library's error text
  std::map<std::string, std::string> headers;
};

class HttpClient {
 public:
  static constexpr char kUserAgent[] = "ZorvikAnalytics CPP SDK 0.9";

  // Throws std::runtime_error("Couldn't initialize curl handle") without a handle.
  explicit HttpClient(std::string baseUrl = {});
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  void SetTimeoutSeconds(long seconds) { timeoutSeconds_ = seconds; }
  void SetHeader(const std::string& name, const std::string& value) { headers_[name] = value; }
  // Certificates are always checked: against this CA bundle when one is given
  // (tests, TLS-inspecting proxies), otherwise against the system's trust store.
  void SetCaBundle(std::string path) { caBundle_ = std::move(path); }

  HttpResponse Post(const std::string& path, const std::string& body);

 private:
  struct Handle;
  HttpResponse Perform(const std::string& path);

  std::unique_ptr<Handle> handle_;
  std::string baseUrl_;
  std::map<std::string, std::string> headers_;
  std::string caBundle_;
  long timeoutSeconds_ = 0;
};

}  // namespace zk_analytics
