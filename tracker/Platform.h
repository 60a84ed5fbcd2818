#pragma once
// What the tracker asks the operating system. Windows answers in win32/; the
// POSIX backend lets the tracker run (and be tested) natively.

#include <cstdint>
#include <string>

namespace zorvik::tracking::platform {

struct VersionNumbers {
  bool ok = false;  // false when the kernel's version query could not be loaded
  uint32_t major = 0, minor = 0, build = 0;
};

VersionNumbers QueryVersionNumbers();
bool Is64BitWindows();
bool IsServerR2();

struct ScreenSize {
  int32_t width = 0, height = 0;
};
ScreenSize QueryScreenSize();

// The user's default locale as ISO 639 language and ISO 3166 country; false
// when either is unknown.
bool QueryUserLocale(std::string& language, std::string& country);

struct GuidValue {
  uint32_t data1 = 0;
  uint16_t data2 = 0, data3 = 0;
  uint8_t data4[8] = {};
};
bool CreateGuid(GuidValue& guid);

// Folder of the running executable, ending in a separator.
std::string ExecutableFolder();
// The per-user folder that holds the tracker's "ZKLocal" folder, without a final separator.
std::string UserDataBaseFolder(const VersionNumbers& version);
char PathSeparator();

}  // namespace zorvik::tracking::platform
