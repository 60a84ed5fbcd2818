#include "package/UninstallRunner.h"

#include <exception>

#include "package/AccountFacts.h"
#include "package/ChildRun.h"
#include "package/CommandLines.h"
#include "utils/Folders.h"
#include "utils/Log.h"

CUninstallRunner::CUninstallRunner(StatusCallback callback, std::wstring uninstaller,
                                   std::wstring oldFolder)
    : callback_(callback), uninstaller_(std::move(uninstaller)), oldFolder_(std::move(oldFolder)) {}

CUninstallRunner::~CUninstallRunner() { worker_.reset(); }

void CUninstallRunner::Start(Utils::File image) {
  worker_.reset();  // an earlier run still reads the command line until it ends
  commandLine_ = UninstallCommandLine(uninstaller_, CurrentAccountFacts(), oldFolder_);
  image_ = std::move(image);
  worker_ = std::make_unique<Utils::Thread>(this, L"UnInstaller", &CUninstallRunner::Run);
  if (!worker_->Start()) {
    worker_.reset();
    image_ = Utils::File();
    callback_(UNIST_CODE_FAIL, 2.0, L"");  // no thread: the run ends before it began
  }
}

void CUninstallRunner::Run(void* context) {
  auto* self = static_cast<CUninstallRunner*>(context);
  if (self->uninstaller_.empty() || !Utils::PathExists(self->uninstaller_)) {
    UTILS_LOG(L"the uninstaller [%ls] is not there", self->uninstaller_.c_str());
    self->callback_(UNIST_CODE_FAIL, 1.0, L"可执行卸载文件不存在");
    return;
  }
  self->callback_(UNIST_CODE_PROGRESS, 0.0, L"");
  bool outcomeSeen = false;
  try {
    outcomeSeen = RunChild(self->child_, self->commandLine_, ChildKind::Uninstaller, self->callback_,
                           std::move(self->image_));
  } catch (const std::exception& error) {
    UTILS_LOG(L"the uninstaller run ends: %ls", Utils::DescribeException(error).c_str());
    self->child_.reset();
    self->callback_(UNIST_CODE_FAIL, 2.0, L"");
    return;
  }
  if (!outcomeSeen) self->callback_(UNIST_CODE_SUCCESS, 1.0, L"");
}
