#include "download/RestartableWorker.h"

RestartableWorker::~RestartableWorker() { Join(); }

bool RestartableWorker::Restart(void* context, Utils::Thread::Body body) {
  if (finishing_ && !finishing_->IsCurrentThread()) finishing_.reset();
  if (current_ && current_->IsCurrentThread()) {
    finishing_ = std::move(current_);
  } else {
    current_.reset();
  }
  current_ = std::make_unique<Utils::Thread>(context, L"ABDEF", std::move(body));
  return current_->Start();
}

void RestartableWorker::Join() {
  current_.reset();
  finishing_.reset();
}
