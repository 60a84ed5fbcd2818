#pragma once
// Runs the downloaded product package silently with the user's choices and
// reports 2001 to 2004 and the facts it announces (3000 to 3009).

#include <memory>
#include <string>

#include "package/CommandLines.h"
#include "utils/File.h"
#include "utils/Process.h"
#include "utils/StatusCodes.h"
#include "utils/Thread.h"

class CPackageRunner {
 public:
  CPackageRunner(StatusCallback callback, std::wstring packageCommand, std::wstring installFolder);
  ~CPackageRunner();
  CPackageRunner(const CPackageRunner&) = delete;
  CPackageRunner& operator=(const CPackageRunner&) = delete;

  // The owner sets these before every start.
  void SetOptions(const PackageRunOptions& options) { options_ = options; }

  // Joins an earlier run, then returns at once; the run happens on an "ABDEF"
  // worker. `image` is the package as it was admitted, held until it runs.
  void Start(Utils::File image);

  const std::wstring& CommandLine() const { return commandLine_; }

 private:
  static void Run(void* self);

  StatusCallback callback_;
  std::wstring packageCommand_;
  PackageRunOptions options_;
  std::wstring commandLine_;
  Utils::File image_;
  std::unique_ptr<Utils::PipedProcess> child_;
  std::unique_ptr<Utils::Thread> worker_;  // last: joined before the rest goes
};
