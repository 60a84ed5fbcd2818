#include "package/PackageRunner.h"

#include <exception>

#include "package/ChildRun.h"
#include "utils/Log.h"

CPackageRunner::CPackageRunner(StatusCallback callback, std::wstring packageCommand,
                               std::wstring installFolder)
    : callback_(callback), packageCommand_(std::move(packageCommand)) {
  options_.installFolder = std::move(installFolder);
}

CPackageRunner::~CPackageRunner() { worker_.reset(); }

void CPackageRunner::Start(Utils::File image) {
  worker_.reset();  // an earlier run still reads the command line until it ends
  commandLine_ = PackageCommandLine(packageCommand_, options_);
  image_ = std::move(image);
  worker_ = std::make_unique<Utils::Thread>(this, L"ABDEF", &CPackageRunner::Run);
  if (!worker_->Start()) {
    worker_.reset();
    image_ = Utils::File();
    callback_(IST_CODE_FAIL, 2.0, L"");  // no thread: the run ends before it began
  }
}

void CPackageRunner::Run(void* context) {
  auto* self = static_cast<CPackageRunner*>(context);
  self->callback_(IST_CODE_START, 0.0, L"");
  self->callback_(IST_CODE_PROGRESS, 0.0, L"");
  bool outcomeSeen = false;
  try {
    outcomeSeen =
        RunChild(self->child_, self->commandLine_, ChildKind::Package, self->callback_, std::move(self->image_));
  } catch (const std::exception& error) {
    UTILS_LOG(L"the package run ends: %ls", Utils::DescribeException(error).c_str());
    self->child_.reset();
    self->callback_(IST_CODE_FAIL, 2.0, L"");
    return;
  }
  if (!outcomeSeen) self->callback_(IST_CODE_SUCCESS, 1.0, L"");
}
