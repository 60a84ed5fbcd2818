#include "utils/SystemProxy.h"

#include "utils/ProxyChoice.h"

namespace Utils {

ProxyResolver::ProxyResolver(std::function<std::string(const std::string& url)> query) : query_(std::move(query)) {}

std::string ProxyResolver::For(const std::string& url) {
  UrlAuthority authority;
  if (!ParseUrlAuthority(url, authority)) return {};
  const std::string key = authority.scheme + "://" + authority.host + ":" + std::to_string(authority.port);
  {
    std::lock_guard<std::mutex> hold(lock_);
    if (direct_) return {};
    const auto known = answers_.find(key);
    if (known != answers_.end()) return known->second;
  }
  // Asked without the lock: a slow answer for one host holds no other.
  const std::string proxy = query_(url);
  std::lock_guard<std::mutex> hold(lock_);
  if (direct_) return {};
  return answers_.emplace(key, proxy).first->second;
}

void ProxyResolver::NoteProxyFailed() {
  std::lock_guard<std::mutex> hold(lock_);
  direct_ = true;
}

ProxyResolver& SystemProxy() {
  static ProxyResolver resolver(&QuerySystemProxy);
  return resolver;
}

}  // namespace Utils
