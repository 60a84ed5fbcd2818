#pragma once
// The Windows version name that picks the download route ("XP", "7", "10", ...).

#include <cstdint>
#include <string>

namespace Utils {

std::wstring OSVersionNameFor(uint32_t major, uint32_t minor, uint32_t build, bool serverR2);

// productName is always "Windows"; versionName comes from the kernel's own
// version numbers, which compatibility shims do not alter.
void GetOSVersionName(std::wstring& productName, std::wstring& versionName);

}  // namespace Utils
