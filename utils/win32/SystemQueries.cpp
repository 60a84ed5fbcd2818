#include "utils/win32/SystemQueries.h"

#include <windows.h>
#include <lm.h>
#include <netlistmgr.h>
#include <objbase.h>
#include <wtsapi32.h>

#include "utils/Log.h"
#include "utils/win32/ComScope.h"

namespace Utils {

int32_t CheckNetwork() {
  ComPtr<INetworkListManager> manager;
  if (FAILED(CoCreateInstance(CLSID_NetworkListManager, nullptr, CLSCTX_ALL, IID_INetworkListManager,
                              manager.void_out())) ||
      !manager) {
    return 0;
  }
  // A manager that cannot answer counts as online, as a missing one does: a
  // broken manager must not block every install at the network tip.
  NLM_CONNECTIVITY connectivity = NLM_CONNECTIVITY_DISCONNECTED;
  int32_t reason = 0;
  const HRESULT asked = manager->GetConnectivity(&connectivity);
  if (FAILED(asked)) {
    UTILS_LOG_RAW(L"GetConnectivity failed 0x%08lx", static_cast<unsigned long>(asked));
    connectivity = NLM_CONNECTIVITY_IPV4_INTERNET;
  } else if (connectivity == NLM_CONNECTIVITY_DISCONNECTED) {
    UTILS_LOG_RAW(L"GetConnectivity %d", static_cast<int>(connectivity));
    reason = 1;
  } else {
    VARIANT_BOOL connected = VARIANT_TRUE;
    if (FAILED(manager->IsConnectedToInternet(&connected))) connected = VARIANT_TRUE;
    if (connected == VARIANT_FALSE) {
      UTILS_LOG_RAW(L"get_IsConnectedToInternet:%d", static_cast<int>(connected));
      reason = 2;
    }
  }
  manager.reset();
  CoFreeUnusedLibraries();
  return static_cast<int32_t>(connectivity & 0xFFFF) | (reason << 16);
}

bool HardDiskManager::CheckFreeSpace(const std::wstring& directory) {
  ULARGE_INTEGER available{}, total{}, totalFree{};
  if (!GetDiskFreeSpaceExW(directory.c_str(), &available, &total, &totalFree)) {
    UTILS_LOG_RAW(L"HardDiskManager::CheckFreeSpace FAIL code=%ld\r\n",
                  static_cast<long>(GetLastError()));
    return false;
  }
  freeBytesAvailable_ = available.QuadPart;
  totalBytes_ = total.QuadPart;
  totalFreeBytes_ = totalFree.QuadPart;
  return true;
}

bool IsCurrentUserAdmin() {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  PSID administrators = nullptr;
  if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0,
                                0, 0, 0, 0, 0, &administrators)) {
    return false;
  }
  BOOL member = FALSE;
  const bool checked = CheckTokenMembership(nullptr, administrators, &member) != FALSE;
  FreeSid(administrators);
  return checked && member != FALSE;
}

bool GetConsoleUserName(std::wstring& name) {
  LPWSTR buffer = nullptr;
  DWORD bytes = 0;
  if (!WTSQuerySessionInformationW(WTS_CURRENT_SERVER_HANDLE, WTSGetActiveConsoleSessionId(),
                                   WTSUserName, &buffer, &bytes) ||
      buffer == nullptr) {
    return false;
  }
  name = buffer;
  WTSFreeMemory(buffer);
  return true;
}

bool IsAdminAccount(const std::wstring& name) {
  LPBYTE info = nullptr;
  if (NetUserGetInfo(nullptr, name.c_str(), 1, &info) != NERR_Success || info == nullptr) {
    return false;
  }
  const bool admin = reinterpret_cast<USER_INFO_1*>(info)->usri1_priv == USER_PRIV_ADMIN;
  NetApiBufferFree(info);
  return admin;
}

}  // namespace Utils
