#include "tests/tracker/TrackerEnv.h"

namespace TestSupport {

// The shell folder cannot be moved per process; each test's own application
// name keeps its data apart, and the environment removes it afterwards.
void RedirectUserData(const std::wstring&) {}

}  // namespace TestSupport
