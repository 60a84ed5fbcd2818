#pragma once
// The proxy every transfer takes: the one the user's system settings name for
// its URL (the static proxy with its bypass list, or what an auto-config
// script or auto-detection decides), so that networks that only let traffic
// out through a proxy work as they do for the user's browser.

#include <functional>
#include <map>
#include <mutex>
#include <string>

namespace Utils {

class ProxyResolver {
 public:
  // `query` asks the system for a URL's proxy ("http://host:port", or empty).
  explicit ProxyResolver(std::function<std::string(const std::string& url)> query);

  // The proxy for `url`, or empty for a direct connection. The system is
  // asked once per scheme, host and port (auto-detection can take seconds).
  std::string For(const std::string& url);
  // A transfer could not reach its proxy: from now on every connection is
  // direct, so a stale proxy setting does not block the install.
  void NoteProxyFailed();

 private:
  std::function<std::string(const std::string&)> query_;
  std::mutex lock_;
  std::map<std::string, std::string> answers_;
  bool direct_ = false;
};

// The process's resolver over the system's settings.
ProxyResolver& SystemProxy();

// The platform's part: what the user's settings name for `url` now (POSIX has
// no such settings: always direct).
std::string QuerySystemProxy(const std::string& url);

}  // namespace Utils
