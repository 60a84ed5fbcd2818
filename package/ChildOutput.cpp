#include "package/ChildOutput.h"

#include <algorithm>
#include <cstring>

#include "utils/Encoding.h"

ChildOutput::ChildOutput(ChildKind kind, StatusCallback callback)
    : interpreter_(kind, std::move(callback)) {}

void ChildOutput::Feed(const char* bytes, size_t count) {
  const char* const end = bytes + count;
  while (bytes < end) {
    const char* feed =
        static_cast<const char*>(std::memchr(bytes, '\n', static_cast<size_t>(end - bytes)));
    const char* stop = feed == nullptr ? end : feed;
    const size_t room = kMaxLineBytes - line_.size();
    line_.append(bytes, std::min(room, static_cast<size_t>(stop - bytes)));
    if (feed == nullptr) return;
    Complete();
    bytes = feed + 1;
  }
}

void ChildOutput::Finish() {
  if (!line_.empty()) Complete();
}

void ChildOutput::Complete() {
  if (!outcomeSeen_) {
    const std::wstring text = Utils::ToWide(line_, interpreter_.CodePage());  // up to a NUL
    outcomeSeen_ = interpreter_.Interpret(text) != OutputInterpreter::kNoOutcome;
  }
  line_.clear();
}
