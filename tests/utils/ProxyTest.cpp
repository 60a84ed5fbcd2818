#include <gtest/gtest.h>

#include <string>

#include "utils/ProxyChoice.h"
#include "utils/SystemProxy.h"

namespace {

TEST(ProxyChoice, TheListsOfTheSystemSettings) {
  struct Case {
    const char* list;
    const char* bypass;
    const char* url;
    const char* proxy;
  };
  const Case cases[] = {
      {"proxy.corp:8080", "", "http://cdn.example.com/a.exe", "http://proxy.corp:8080"},
      {"proxy.corp:8080", "", "https://cdn.example.com/a.exe", "http://proxy.corp:8080"},
      {"proxy.corp", "", "http://cdn.example.com/", "http://proxy.corp:80"},
      {"http://proxy.corp:3128/", "", "http://cdn.example.com/", "http://proxy.corp:3128"},
      {"http=a:1;https=b:2", "", "http://x.com/", "http://a:1"},
      {"http=a:1;https=b:2", "", "https://x.com/", "http://b:2"},
      {"HTTPS=b:2 generic:3", "", "http://x.com/", "http://generic:3"},
      {"ftp=f:21;socks=s:1080", "", "http://x.com/", ""},  // nothing for http
      {"", "", "http://x.com/", ""},
      {"p:1", "<local>", "http://intranet/pkg.exe", ""},
      {"p:1", "<local>", "http://intranet.corp/pkg.exe", "http://p:1"},
      {"p:1", "*.corp;10.*", "http://corp/x", "http://p:1"},  // "*.corp" wants a dot before
      {"p:1", "*.corp;10.*", "http://dl.files.CORP/x", ""},
      {"p:1", "*.corp, 10.*", "http://10.1.2.3:8080/x", ""},
      {"p:1", "example.com:8443", "https://example.com:8443/x", ""},
      {"p:1", "example.com:8443", "https://example.com/x", "http://p:1"},
      {"p:1", "https://secure.example.com", "http://secure.example.com/x", "http://p:1"},
      {"p:1", "https://secure.example.com", "https://secure.example.com/x", ""},
      {"p:1", "*", "https://anything/x", ""},
      {"p:1", "", "file:///C:/pkg.exe", ""},  // local files take no proxy
      {"p:1", "", "no scheme", ""},
      {"[::1]:3128", "", "http://x.com/", "http://[::1]:3128"},
      {"p:1", "::1", "http://[::1]:8080/x", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utils::ChooseProxy(c.list, c.bypass, c.url), c.proxy) << c.list << " | " << c.bypass << " | " << c.url;
  }
}

TEST(ProxyChoice, UrlAuthorities) {
  Utils::UrlAuthority parts;
  ASSERT_TRUE(Utils::ParseUrlAuthority("HTTPS://user:pw@Dl.Example.com/x?y", parts));
  EXPECT_EQ(parts.scheme, "https");
  EXPECT_EQ(parts.host, "dl.example.com");
  EXPECT_EQ(parts.port, 443);
  ASSERT_TRUE(Utils::ParseUrlAuthority("http://127.0.0.1:8080", parts));
  EXPECT_EQ(parts.port, 8080);
  EXPECT_FALSE(Utils::ParseUrlAuthority("http:///nohost", parts));
  EXPECT_FALSE(Utils::ParseUrlAuthority("http://[::1/x", parts));
}

// Auto-detection can take seconds: the system is asked once per scheme, host
// and port; after a proxy could not be reached every answer is direct.
TEST(ProxyResolver, AsksOncePerAuthorityAndGoesDirectAfterAFailure) {
  int asked = 0;
  Utils::ProxyResolver resolver([&](const std::string& url) {
    ++asked;
    return url.find("direct.example") != std::string::npos ? std::string() : std::string("http://p:1");
  });
  EXPECT_EQ(resolver.For("http://a.example/x.exe"), "http://p:1");
  EXPECT_EQ(resolver.For("http://A.example:80/other"), "http://p:1");
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(resolver.For("https://a.example/x.exe"), "http://p:1");
  EXPECT_EQ(resolver.For("http://direct.example/x.exe"), "");
  EXPECT_EQ(asked, 3);
  resolver.NoteProxyFailed();
  EXPECT_EQ(resolver.For("http://a.example/x.exe"), "");
  EXPECT_EQ(resolver.For("http://b.example/x.exe"), "");
  EXPECT_EQ(asked, 3);
}

}  // namespace
