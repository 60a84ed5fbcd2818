#include "utils/SystemProxy.h"

namespace Utils {

// No system-wide proxy settings here: connections are direct.
std::string QuerySystemProxy(const std::string&) { return {}; }

}  // namespace Utils
