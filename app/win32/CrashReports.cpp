#include "app/win32/CrashReports.h"

#include <windows.h>

#include <atomic>
#include <cstdlib>
#include <exception>

#include "app/win32/FunnelReports.h"
#include "utils/Log.h"
#include "utils/ProductIdentity.h"

namespace {

// A crash inside the report (or a second thread crashing meanwhile) must not
// report again, nor wait on the first report's locks.
void ReportOnce() {
  static std::atomic<bool> reported{false};
  if (reported.exchange(true)) return;
  UTILS_LOG(L"crash: reported before the process ends");
  ReportTask(L"崩溃退出", 0, AbGroupMap(kDefaultAbGroup), L"");
  ReportCrash();
}

// Leaves the rest to the system's default handling.
LONG WINAPI CrashFilter(EXCEPTION_POINTERS*) {
  ReportOnce();
  return EXCEPTION_CONTINUE_SEARCH;
}

// An exception nobody caught (std::bad_alloc, std::system_error from a thread
// that could not start): reported, then the runtime's abort as without us.
[[noreturn]] void OnTerminate() {
  ReportOnce();
  std::abort();
}

}  // namespace

void InstallCrashReports() {
  SetUnhandledExceptionFilter(CrashFilter);
  std::set_terminate(OnTerminate);
}
