#pragma once
// The product's per-user values under HKEY_CURRENT_USER "Software\ZorvikSoft\Quorvane".

#include <string>

namespace Utils {

inline constexpr wchar_t kProductRegistryKey[] = L"Software\\ZorvikSoft\\Quorvane";

// REG_SZ without a terminating NUL, as the product's own tools store it.
bool WriteProductRegString(const std::wstring& valueName, const std::wstring& text);
// Reads a value stored with or without its NUL; false when key or value is missing.
bool ReadProductRegString(const std::wstring& valueName, unsigned long& type, std::wstring& text);

}  // namespace Utils
