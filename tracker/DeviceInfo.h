#pragma once
// The tracker's own description of the machine.

#include <cstdint>
#include <functional>
#include <string>

#include "tracker/Platform.h"

namespace zorvik::tracking {

struct OsFacts {
  std::string name;         // always "Windows"
  std::string versionName;  // "7", "10", "11", ...
};

std::string VersionNameFor(const platform::VersionNumbers& version, bool is64Bit, bool serverR2);
OsFacts QueryOsFacts();
std::string UserAgentFor(const OsFacts& os, bool is64Bit);
std::string UserAgent();

// "%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X": 36 characters.
std::string FormatGuidText(const platform::GuidValue& guid);
// Process-wide fixed-seed fallback for when no GUID can be made.
std::string FallbackGuidText();
// One call discarded, then up to 10 tries; the fallback after that.
std::string NewGuidText(const std::function<bool(platform::GuidValue&)>& create = platform::CreateGuid);

}  // namespace zorvik::tracking
