#include "utils/win32/Registry.h"

#include <windows.h>

#include <vector>

#include "utils/win32/RegistryKey.h"

namespace Utils {

bool WriteProductRegString(const std::wstring& valueName, const std::wstring& text) {
  UniqueRegistryKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kProductRegistryKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                      nullptr, key.out(), nullptr) != ERROR_SUCCESS) {
    return false;
  }
  return RegSetValueExW(key.get(), valueName.c_str(), 0, REG_SZ,
                        reinterpret_cast<const BYTE*>(text.data()),
                        static_cast<DWORD>(text.size() * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool ReadProductRegString(const std::wstring& valueName, unsigned long& type, std::wstring& text) {
  UniqueRegistryKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kProductRegistryKey, 0, KEY_READ, key.out()) !=
      ERROR_SUCCESS) {
    return false;
  }
  DWORD valueType = 0;
  DWORD bytes = 0;
  if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &valueType, nullptr, &bytes) !=
      ERROR_SUCCESS) {
    return false;
  }
  std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 2, L'\0');
  if (RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &valueType,
                       reinterpret_cast<BYTE*>(buffer.data()), &bytes) != ERROR_SUCCESS) {
    return false;
  }
  type = valueType;
  text.assign(buffer.data());
  return true;
}

}  // namespace Utils
