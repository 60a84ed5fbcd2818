#include "skinkit/SequenceLabel.h"

#include <cwchar>

#include "skinkit/FramePath.h"
#include "skinkit/PaintManager.h"
#include "skinkit/Values.h"

namespace SkinKit {

CSequenceLabelUI::~CSequenceLabelUI() {
  if (manager_) manager_->KillTimer(this, kTimerId);
}

CControlUI* CSequenceLabelUI::GetInterface(const std::wstring& name) {
  return name == L"SequenceLabel" ? this : CLabelUI::GetInterface(name);
}

void CSequenceLabelUI::SetSequenceBkImage(const std::wstring& pattern) { pattern_ = pattern; }

void CSequenceLabelUI::SetSequenceCount(int count) { count_ = count; }

void CSequenceLabelUI::SetSequenceSpan(int milliseconds) { span_ = milliseconds; }

void CSequenceLabelUI::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"sequencebkimage") {
    SetSequenceBkImage(value);
  } else if (EqualsNoCase(name, L"sequencecount")) {
    SetSequenceCount(static_cast<int>(std::wcstol(value.c_str(), nullptr, 10)));
  } else if (EqualsNoCase(name, L"sequencespan")) {
    SetSequenceSpan(static_cast<int>(std::wcstol(value.c_str(), nullptr, 10)));
  } else if (EqualsNoCase(name, L"sequenceloop")) {
    loop_ = value != L"false";
  } else if (EqualsNoCase(name, L"autostart")) {
    autoStart_ = value != L"false";
  } else if (EqualsNoCase(name, L"sequenceround")) {
    round_ = value != L"false";
  } else {
    CLabelUI::SetAttribute(name, value);
  }
}

void CSequenceLabelUI::DoInit() {
  if (autoStart_ && manager_) manager_->SetTimer(this, kTimerId, static_cast<unsigned>(span_));
}

void CSequenceLabelUI::Start() {
  index_ = 0;
  if (manager_) manager_->SetTimer(this, kTimerId, static_cast<unsigned>(span_));
}

long CSequenceLabelUI::NextFrame() {
  if (pattern_.empty() || count_ <= 0) return -1;
  const unsigned last = static_cast<unsigned>(count_) - 1;
  // Back and forth needs two frames; with one it would step before frame 0.
  const bool round = round_ && count_ >= 2;
  if (forward_ && index_ > last) {
    if (round) {
      forward_ = false;
      index_ = last - 1;
    } else {
      index_ = 0;
      if (!loop_) {
        if (manager_) manager_->KillTimer(this, kTimerId);
        return -1;
      }
    }
  }
  if (!forward_ && index_ == 0) {
    // Round mode turns here; without it there is nowhere to go backward from
    // frame 0 either, so the direction turns as well.
    forward_ = true;
    index_ = 0;
    if (!loop_) {
      if (manager_) manager_->KillTimer(this, kTimerId);
      return -1;
    }
  }
  if (index_ > last) index_ = last;
  const unsigned frame = index_;
  index_ = forward_ ? index_ + 1 : index_ - 1;
  return static_cast<long>(frame);
}

void CSequenceLabelUI::DoEvent(ControlEvent& event) {
  CLabelUI::DoEvent(event);
  if (event.type != EventType::Timer) return;
  const long frame = NextFrame();
  if (frame < 0) return;
  if (const auto path = FormatFramePath(pattern_, frame)) {
    SetBkImage(*path);
    Invalidate();
  }
}

}  // namespace SkinKit
