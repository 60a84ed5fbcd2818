#include <windows.h>
#include <softpub.h>
#include <wintrust.h>

#include <cwchar>
#include <vector>

#include "package/PinnedPublishers.h"
#include "package/PublisherGate.h"
#include "package/PublisherPins.h"
#include "utils/UniqueHandle.h"

namespace {

struct ModuleTraits {
  using Value = HMODULE;
  static Value Empty() { return nullptr; }
  static bool IsValid(Value value) { return value != nullptr; }
  static void Close(Value value) { FreeLibrary(value); }
};

template <typename Function>
Function Proc(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

std::wstring Hex(unsigned long value) {
  wchar_t text[16] = {};
  std::swprintf(text, sizeof text / sizeof text[0], L"0x%08lX", value);
  return text;
}

class AuthenticodeGate : public PublisherGate {
 public:
  AuthenticodeGate() : pins_(std::begin(kPinnedPublishers), std::end(kPinnedPublishers)) {
    // wintrust.dll is no KnownDLL: imported, a copy planted beside the
    // installer would be loaded, elevated, before any of our code runs. So it
    // is loaded here, by its full path in System32.
    wchar_t system[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(system, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    const std::wstring path = std::wstring(system, length) + L"\\wintrust.dll";
    module_.reset(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    if (!module_) return;
    verify_ = Proc<decltype(&WinVerifyTrust)>(module_.get(), "WinVerifyTrust");
    providerData_ = Proc<decltype(&WTHelperProvDataFromStateData)>(module_.get(), "WTHelperProvDataFromStateData");
    signer_ = Proc<decltype(&WTHelperGetProvSignerFromChain)>(module_.get(), "WTHelperGetProvSignerFromChain");
  }

  Admission Admit(const std::wstring& path) const override {
    if (verify_ == nullptr || providerData_ == nullptr || signer_ == nullptr) {
      return Refused(L"wintrust.dll cannot be loaded");
    }
    Admission admission;
    admission.image = Utils::File::Open(path, Utils::File::Mode::kReadHeld);
    if (!admission.image.IsOpen()) return Refused(L"the file cannot be held (" + Hex(GetLastError()) + L")");

    // Through the held handle, so the bytes verified are the bytes started.
    // Nothing is fetched from the network (the signature carries its chain),
    // so the check never stalls a run; the pin, not the root or a
    // revocation list, decides whose program this is.
    WINTRUST_FILE_INFO file{};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = path.c_str();
    file.hFile = admission.image.Native();
    WINTRUST_DATA data{};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    data.dwProvFlags = WTD_REVOCATION_CHECK_NONE | WTD_CACHE_ONLY_URL_RETRIEVAL;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    const LONG status = verify_(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    const std::wstring refusal = status != 0 ? L"the signature does not verify (" +
                                                   Hex(static_cast<unsigned long>(status)) + L")"
                                             : SignerRefusal(data.hWVTStateData);
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    verify_(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    if (!refusal.empty()) return Refused(refusal);
    return admission;
  }

 private:
  // The verified signature's signer certificate against the pins.
  std::wstring SignerRefusal(HANDLE state) const {
    CRYPT_PROVIDER_DATA* provider = providerData_(state);
    CRYPT_PROVIDER_SGNR* signer = provider == nullptr ? nullptr : signer_(provider, 0, FALSE, 0);
    if (signer == nullptr || signer->csCertChain == 0 || signer->pasCertChain == nullptr ||
        signer->pasCertChain[0].pCert == nullptr) {
      return L"the signature names no signer certificate";
    }
    const CERT_CONTEXT* certificate = signer->pasCertChain[0].pCert;
    return ::SignerRefusal(certificate->pbCertEncoded, certificate->cbCertEncoded, pins_);
  }

  std::vector<std::string> pins_;
  Utils::UniqueHandle<ModuleTraits> module_;
  decltype(&WinVerifyTrust) verify_ = nullptr;
  decltype(&WTHelperProvDataFromStateData) providerData_ = nullptr;
  decltype(&WTHelperGetProvSignerFromChain) signer_ = nullptr;
};

}  // namespace

std::unique_ptr<PublisherGate> CreatePublisherGate() { return std::make_unique<AuthenticodeGate>(); }
