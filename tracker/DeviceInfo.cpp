#include "tracker/DeviceInfo.h"

#include <cstdio>
#include <mutex>
#include <random>

namespace zorvik::tracking {

std::string VersionNameFor(const platform::VersionNumbers& version, bool is64Bit, bool serverR2) {
  if (!version.ok) return "XP-";
  const uint32_t major = version.major, minor = version.minor;
  if (major <= 4) return "XP-";
  switch (major) {
    case 5:
      if (minor == 0) return "2K";
      if (minor == 1) return "XP";
      if (minor == 2) return is64Bit ? "XP64" : serverR2 ? "Server 2003 R2" : "Server 2003";
      return "XP+";
    case 6:
      if (minor == 0) return is64Bit ? "Vista64" : "Vista";
      if (minor == 1) return is64Bit ? "7" : "7-32";
      if (minor == 2) return is64Bit ? "8" : "8-32";
      if (minor == 3) return "8.1";
      return "8.1+";
    case 10:
      if (minor == 0) return version.build < 22000 ? "10" : "11";
      return "11+";
    default:
      return std::to_string(major) + "." + std::to_string(minor) + "." +
             std::to_string(version.build);
  }
}

OsFacts QueryOsFacts() {
  const platform::VersionNumbers version = platform::QueryVersionNumbers();
  const bool is64Bit = version.ok && platform::Is64BitWindows();
  return {"Windows", VersionNameFor(version, is64Bit, platform::IsServerR2())};
}

std::string UserAgentFor(const OsFacts& os, bool is64Bit) {
  return "Mozilla/5.0(" + os.name + " " + os.versionName + "; Win" + (is64Bit ? "64;)" : "32;)");
}

std::string UserAgent() { return UserAgentFor(QueryOsFacts(), platform::Is64BitWindows()); }

std::string FormatGuidText(const platform::GuidValue& g) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                static_cast<unsigned>(g.data1), static_cast<unsigned>(g.data2),
                static_cast<unsigned>(g.data3), g.data4[0], g.data4[1], g.data4[2], g.data4[3],
                g.data4[4], g.data4[5], g.data4[6], g.data4[7]);
  return buffer;
}

std::string FallbackGuidText() {
  static std::mutex mutex;
  static std::mt19937 engine;  // default seed 5489: the same texts every run
  std::uniform_int_distribution<uint32_t> draw(0, 2147483646);
  uint32_t d[8];
  {
    std::lock_guard<std::mutex> lock(mutex);
    for (uint32_t& value : d) value = draw(engine);
  }
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "%x%x-%x-%x-%x-%x%x%x", d[7], d[6], d[5],
                (d[4] & 0xFFFu) | 0x4000u, (d[3] % 0x3FFFu) + 0x8000u, d[2], d[1], d[0]);
  return buffer;
}

std::string NewGuidText(const std::function<bool(platform::GuidValue&)>& create) {
  platform::GuidValue guid;
  static_cast<void>(create(guid));
  for (int attempt = 0; attempt < 10; ++attempt) {
    if (create(guid)) return FormatGuidText(guid);
  }
  return FallbackGuidText();
}

}  // namespace zorvik::tracking
