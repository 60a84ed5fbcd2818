#include "utils/ProxyChoice.h"

#include <cctype>
#include <cstdlib>
#include <vector>

namespace Utils {
namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The system separates entries by semicolons or white space (commas too in
// bypass lists).
std::vector<std::string> Entries(const std::string& list, const std::string& separators) {
  std::vector<std::string> entries;
  std::string current;
  for (const char c : list) {
    if (separators.find(c) != std::string::npos) {
      if (!current.empty()) entries.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) entries.push_back(current);
  return entries;
}

int DefaultPort(const std::string& scheme) {
  if (scheme == "https") return 443;
  if (scheme == "http") return 80;
  return 0;
}

// '*' stands for any run of characters; everything else matches itself.
// Backtracks only to the last star, so it stays linear in practice.
bool Glob(const std::string& pattern, const std::string& text) {
  size_t p = 0, t = 0, star = std::string::npos, resume = 0;
  while (t < text.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = t;
    } else if (p < pattern.size() && pattern[p] == text[t]) {
      ++p;
      ++t;
    } else if (star != std::string::npos) {
      p = star + 1;
      t = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool Bypassed(const std::string& bypassList, const UrlAuthority& url) {
  const std::string withPort = url.host + ":" + std::to_string(url.port);
  for (std::string entry : Entries(Lower(bypassList), "; \t\r\n,")) {
    if (entry == "<local>") {
      if (url.host.find('.') == std::string::npos && url.host.find(':') == std::string::npos) return true;
      continue;
    }
    const size_t scheme = entry.find("://");
    if (scheme != std::string::npos) {
      if (entry.compare(0, scheme, url.scheme) != 0) continue;
      entry.erase(0, scheme + 3);
    }
    if (Glob(entry, url.host) || Glob(entry, withPort)) return true;
  }
  return false;
}

}  // namespace

bool ParseUrlAuthority(const std::string& url, UrlAuthority& parts) {
  const size_t scheme = url.find("://");
  if (scheme == std::string::npos || scheme == 0) return false;
  parts.scheme = Lower(url.substr(0, scheme));
  size_t begin = scheme + 3;
  size_t end = url.find_first_of("/?#", begin);
  if (end == std::string::npos) end = url.size();
  std::string authority = url.substr(begin, end - begin);
  const size_t credentials = authority.rfind('@');
  if (credentials != std::string::npos) authority.erase(0, credentials + 1);
  std::string port;
  if (!authority.empty() && authority[0] == '[') {
    const size_t close = authority.find(']');
    if (close == std::string::npos) return false;
    parts.host = authority.substr(1, close - 1);
    if (close + 1 < authority.size() && authority[close + 1] == ':') port = authority.substr(close + 2);
  } else {
    const size_t colon = authority.rfind(':');
    parts.host = authority.substr(0, colon);
    if (colon != std::string::npos) port = authority.substr(colon + 1);
  }
  parts.host = Lower(parts.host);
  parts.port = port.empty() ? DefaultPort(parts.scheme) : std::atoi(port.c_str());
  return !parts.host.empty();
}

std::string ChooseProxy(const std::string& proxyList, const std::string& bypassList, const std::string& url) {
  UrlAuthority target;
  if (!ParseUrlAuthority(url, target) || (target.scheme != "http" && target.scheme != "https")) return {};
  if (Bypassed(bypassList, target)) return {};
  std::string forScheme;
  std::string forAll;
  for (const std::string& entry : Entries(proxyList, "; \t\r\n")) {
    const size_t equals = entry.find('=');
    if (equals == std::string::npos) {
      if (forAll.empty()) forAll = entry;
    } else if (Lower(entry.substr(0, equals)) == target.scheme && forScheme.empty()) {
      forScheme = entry.substr(equals + 1);
    }
  }
  std::string proxy = forScheme.empty() ? forAll : forScheme;
  const size_t scheme = proxy.find("://");
  if (scheme != std::string::npos) proxy.erase(0, scheme + 3);  // the system's proxies speak HTTP
  while (!proxy.empty() && proxy.back() == '/') proxy.pop_back();
  if (proxy.empty()) return {};
  if (proxy.find(':') == std::string::npos || proxy.back() == ']') proxy += ":80";
  return "http://" + proxy;
}

}  // namespace Utils
