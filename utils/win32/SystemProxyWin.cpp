#include <windows.h>
#include <winhttp.h>

#include <type_traits>

#include "utils/Encoding.h"
#include "utils/Log.h"
#include "utils/ProxyChoice.h"
#include "utils/SystemProxy.h"

namespace Utils {
namespace {

// winhttp.dll is no KnownDLL: imported statically it would be looked up beside
// the installer first (a downloads folder). It is loaded from System32 only,
// when a transfer first asks for its proxy, and stays for the process's life.
struct WinHttp {
  decltype(&WinHttpGetIEProxyConfigForCurrentUser) userConfig = nullptr;
  decltype(&WinHttpOpen) open = nullptr;
  decltype(&WinHttpGetProxyForUrl) proxyForUrl = nullptr;
  decltype(&WinHttpCloseHandle) close = nullptr;

  static const WinHttp& Get() {
    static const WinHttp functions = [] {
      WinHttp loaded;
      HMODULE module = LoadLibraryExW(L"winhttp.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
      if (module == nullptr) {
        UTILS_LOG(L"winhttp.dll cannot be loaded (%lu): connections are direct", GetLastError());
        return loaded;
      }
      auto bind = [module](auto& function, const char* name) {
        function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(
            reinterpret_cast<void*>(GetProcAddress(module, name)));
      };
      bind(loaded.userConfig, "WinHttpGetIEProxyConfigForCurrentUser");
      bind(loaded.open, "WinHttpOpen");
      bind(loaded.proxyForUrl, "WinHttpGetProxyForUrl");
      bind(loaded.close, "WinHttpCloseHandle");
      return loaded;
    }();
    return functions;
  }
  bool Complete() const { return userConfig && open && proxyForUrl && close; }
};

struct GlobalText {
  LPWSTR text = nullptr;
  ~GlobalText() {
    if (text != nullptr) GlobalFree(text);
  }
  std::string Utf8() const { return text == nullptr ? std::string() : ToNarrow(text, kCodePageUtf8); }
};

struct InternetHandle {
  HINTERNET handle;
  ~InternetHandle() {
    if (handle != nullptr) WinHttp::Get().close(handle);
  }
};

// What an auto-config script, or auto-detection, decides for `url`; false
// when neither gives an answer.
bool AutomaticProxy(const std::wstring& url, const std::wstring& scriptUrl, bool detect, std::string& proxy) {
  const WinHttp& winHttp = WinHttp::Get();
  const InternetHandle session{
      winHttp.open(L"Quorvane", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0)};
  if (session.handle == nullptr) return false;
  WINHTTP_AUTOPROXY_OPTIONS options{};
  options.fAutoLogonIfChallenged = TRUE;
  if (!scriptUrl.empty()) {
    options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
    options.lpszAutoConfigUrl = scriptUrl.c_str();
  }
  if (detect) {
    options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
    options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
  }
  WINHTTP_PROXY_INFO info{};
  if (!winHttp.proxyForUrl(session.handle, url.c_str(), &options, &info)) {
    UTILS_LOG(L"automatic proxy settings gave no answer (%lu)", GetLastError());
    return false;
  }
  const GlobalText list{info.lpszProxy};
  const GlobalText bypass{info.lpszProxyBypass};
  const std::string narrow = ToNarrow(url, kCodePageUtf8);
  proxy = info.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY ? ChooseProxy(list.Utf8(), bypass.Utf8(), narrow)
                                                               : std::string();
  return true;
}

}  // namespace

std::string QuerySystemProxy(const std::string& url) {
  if (!WinHttp::Get().Complete()) return {};
  WINHTTP_CURRENT_USER_IE_PROXY_CONFIG config{};
  if (!WinHttp::Get().userConfig(&config)) return {};
  const GlobalText script{config.lpszAutoConfigUrl};
  const GlobalText list{config.lpszProxy};
  const GlobalText bypass{config.lpszProxyBypass};
  std::string proxy;
  if ((config.fAutoDetect || script.text != nullptr) &&
      AutomaticProxy(ToWide(url, kCodePageUtf8), script.text == nullptr ? std::wstring() : script.text,
                     config.fAutoDetect != FALSE, proxy)) {
    return proxy;
  }
  // The static proxy also stands in when the automatic settings give no answer.
  proxy = ChooseProxy(list.Utf8(), bypass.Utf8(), url);
  if (!proxy.empty()) UTILS_LOG(L"the system proxy %ls serves %ls", ToWide(proxy, kCodePageUtf8).c_str(),
                                ToWide(url, kCodePageUtf8).c_str());
  return proxy;
}

}  // namespace Utils
