// Transfers take the proxy the user's settings name: a host only the test
// proxy can reach is downloaded through it, and a proxy that cannot be
// reached is left for a direct connection.
#include <windows.h>

#include <fstream>
#include <sstream>

#include "download/CurlDownloader.h"
#include "download/MTCurlDownloader.h"
#include "tests/download/DownloadFixture.h"

namespace {

using Codes = std::vector<Status>;

constexpr wchar_t kConnections[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";
constexpr wchar_t kSettings[] = L"DefaultConnectionSettings";

// The user's proxy setting, as the system's settings dialog stores it, for
// the test's length; what was there before comes back afterwards.
class UserProxySetting {
 public:
  UserProxySetting(const std::string& proxy, const std::string& bypass) {
    RegCreateKeyExW(HKEY_CURRENT_USER, kConnections, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, nullptr);
    DWORD size = 0;
    had_ = RegQueryValueExW(key_, kSettings, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
    previous_.resize(size);
    if (had_) RegQueryValueExW(key_, kSettings, nullptr, nullptr, previous_.data(), &size);
    std::string blob;
    auto word = [&](DWORD value) { blob.append(reinterpret_cast<const char*>(&value), sizeof value); };
    word(0x46);   // the layout's version
    word(1);      // a change counter
    word(1 | 2);  // direct where bypassed, else the named proxy
    word(static_cast<DWORD>(proxy.size()));
    blob += proxy;
    word(static_cast<DWORD>(bypass.size()));
    blob += bypass;
    word(0);  // no auto-config script
    blob.append(32, '\0');
    EXPECT_EQ(RegSetValueExW(key_, kSettings, 0, REG_BINARY, reinterpret_cast<const BYTE*>(blob.data()),
                             static_cast<DWORD>(blob.size())),
              ERROR_SUCCESS);
  }
  ~UserProxySetting() {
    if (had_) {
      RegSetValueExW(key_, kSettings, 0, REG_BINARY, previous_.data(), static_cast<DWORD>(previous_.size()));
    } else {
      RegDeleteValueW(key_, kSettings);
    }
    RegCloseKey(key_);
  }
  UserProxySetting(const UserProxySetting&) = delete;
  UserProxySetting& operator=(const UserProxySetting&) = delete;

 private:
  HKEY key_ = nullptr;
  bool had_ = false;
  std::vector<BYTE> previous_;
};

std::string HostAndPort(const std::wstring& url) {
  const std::string narrow = Utils::ToNarrow(url, Utils::kCodePageUtf8);
  return narrow.substr(narrow.find("://") + 3);
}

class SystemProxy : public DownloadTest {
 protected:
  template <typename Downloader>
  Codes Download(const std::wstring& url) {
    return DownloadRun::WithoutProgress(DownloadRun().Run([&](StatusCallback callback) {
      return std::make_unique<Downloader>(callback, url.c_str(), target_.c_str());
    }));
  }
  std::string ProxyLog() const {
    std::ifstream log(servers_.FilePath("PROXY_LOG"));
    std::ostringstream text;
    text << log.rdbuf();
    return text.str();
  }
};

TEST_F(SystemProxy, AHostOnlyTheProxyReachesIsDownloadedThroughIt) {
  const UserProxySetting setting(HostAndPort(servers_.Value("PROXY_URL")), "");
  const std::wstring nginx = servers_.Value("NGINX_URL");
  const std::wstring host = L"http://packages.quorvane.test" + nginx.substr(nginx.rfind(L':'));
  const Codes success{{DL_CODE_START, 1, L""}, {DL_CODE_SUCCESS, 0, L"LibCurl"}};

  EXPECT_EQ(Download<CCurlDownloader>(host + servers_.Value("PAYLOAD_PATH")), success);
  EXPECT_EQ(Utils::ToWide(TargetMd5(), Utils::kCodePageUtf8), servers_.Value("PAYLOAD_MD5"));
  EXPECT_EQ(Download<CMTCurlDownloader>(host + servers_.Value("PAYLOAD_PATH")), success);
  EXPECT_EQ(Utils::ToWide(TargetMd5(), Utils::kCodePageUtf8), servers_.Value("PAYLOAD_MD5"));
  EXPECT_NE(ProxyLog().find("\"GET http://packages.quorvane.test:"), std::string::npos);
}

TEST_F(SystemProxy, AProxyThatCannotBeReachedIsLeftForADirectConnection) {
  const UserProxySetting setting("127.0.0.1:9", "");
  EXPECT_EQ(Download<CCurlDownloader>(servers_.Nginx(servers_.Value("PAYLOAD_PATH"))),
            (Codes{{DL_CODE_START, 1, L""}, {DL_CODE_SUCCESS, 0, L"LibCurl"}}));
  EXPECT_EQ(Utils::ToWide(TargetMd5(), Utils::kCodePageUtf8), servers_.Value("PAYLOAD_MD5"));
}

TEST_F(SystemProxy, TheBypassListGoesDirect) {
  // The proxy would serve 127.0.0.1 as well: only its log tells the way taken.
  const UserProxySetting setting(HostAndPort(servers_.Value("PROXY_URL")), "<local>;127.0.0.*");
  const std::wstring url = servers_.Nginx(servers_.Value("PAYLOAD_PATH"));
  EXPECT_EQ(Download<CCurlDownloader>(url).back(), (Status{DL_CODE_SUCCESS, 0, L"LibCurl"}));
  EXPECT_EQ(ProxyLog().find(HostAndPort(url)), std::string::npos);
}

}  // namespace
