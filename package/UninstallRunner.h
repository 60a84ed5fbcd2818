#pragma once
// Runs an older installation's uninstaller (a copy in a folder of the run's
// own) silently and reports 5002 to 5005.

#include <memory>
#include <string>

#include "utils/File.h"
#include "utils/Process.h"
#include "utils/StatusCodes.h"
#include "utils/Thread.h"

class CUninstallRunner {
 public:
  CUninstallRunner(StatusCallback callback, std::wstring uninstaller, std::wstring oldFolder);
  ~CUninstallRunner();
  CUninstallRunner(const CUninstallRunner&) = delete;
  CUninstallRunner& operator=(const CUninstallRunner&) = delete;

  // Returns at once; the run happens on the "UnInstaller" worker. `image` is
  // the uninstaller as it was admitted, held until it runs.
  void Start(Utils::File image);

  const std::wstring& CommandLine() const { return commandLine_; }

 private:
  static void Run(void* self);

  StatusCallback callback_;
  std::wstring commandLine_;
  std::wstring uninstaller_;
  std::wstring oldFolder_;
  Utils::File image_;
  std::unique_ptr<Utils::PipedProcess> child_;
  std::unique_ptr<Utils::Thread> worker_;  // last: joined before the rest goes
};
