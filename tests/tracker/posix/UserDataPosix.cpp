#include <cstdlib>

#include "tests/tracker/TrackerEnv.h"
#include "utils/Encoding.h"

namespace TestSupport {

void RedirectUserData(const std::wstring& folder) {
  setenv("XDG_DATA_HOME", Utils::ToNarrow(folder, Utils::kCodePageUtf8).c_str(), 1);
}

}  // namespace TestSupport
