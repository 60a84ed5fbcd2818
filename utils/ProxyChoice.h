#pragma once
// Which proxy the Windows proxy settings name for a URL: the proxy list
// ("host:port", or per scheme "http=host:port;https=host:port") and the bypass
// list ("<local>;*.example.com;10.*"). Portable, so it is tested natively.

#include <string>

namespace Utils {

struct UrlAuthority {
  std::string scheme;  // lower case
  std::string host;    // lower case, without brackets
  int port = 0;        // the scheme's default when the URL names none
};

// False for a URL without "scheme://" or without a host.
bool ParseUrlAuthority(const std::string& url, UrlAuthority& parts);

// "http://host:port" of the proxy for `url`, or empty for a direct
// connection: the list names none for its scheme, or the bypass list holds
// its host.
std::string ChooseProxy(const std::string& proxyList, const std::string& bypassList, const std::string& url);

}  // namespace Utils
