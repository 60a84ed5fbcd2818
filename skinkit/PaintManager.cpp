#include "skinkit/PaintManager.h"

#include <algorithm>

#include "skinkit/Control.h"
#include "skinkit/Edit.h"
#include "skinkit/SkinPackage.h"
#include "skinkit/Values.h"

namespace SkinKit {

namespace {
constexpr uint32_t kNoMask = 0xFF000000u;  // masks are RGB only, so this never collides
}

PaintManager::PaintManager(IPaintHost* host, FileSource files)
    : host_(host), files_(std::move(files)), created_(std::chrono::steady_clock::now()) {
  if (!files_) {
    files_ = [](const std::wstring& name) { return SkinPackage::Instance().Find(name); };
  }
}

PaintManager::~PaintManager() {
  // Controls reap themselves while the tables they reach are still here.
  root_.reset();
}

void PaintManager::AttachRoot(std::unique_ptr<CControlUI> root) {
  root_ = std::move(root);
  if (!root_) return;
  root_->SetManager(this, nullptr);
  root_->InitTree();
  needLayout_ = true;
  Invalidate(Rect{0, 0, clientSize_.cx, clientSize_.cy});
}

CControlUI* PaintManager::FindControl(const std::wstring& name) const {
  return root_ ? root_->FindControl(name) : nullptr;
}

CControlUI* PaintManager::FindControlAt(Point pt) const {
  return root_ ? root_->FindControlAt(pt) : nullptr;
}

void PaintManager::SetWindowAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"size") {
    initSize_ = ParseSize(value);
  } else if (name == L"caption") {
    caption_ = ParseRect(value);
  } else if (name == L"roundcorner") {
    roundCorner_ = ParseSize(value);
  } else {
    for (auto& attribute : customAttributes_) {
      if (attribute.first == name) {
        attribute.second = value;
        return;
      }
    }
    customAttributes_.emplace_back(name, value);
  }
}

const std::wstring* PaintManager::GetCustomAttribute(const std::wstring& name) const {
  for (const auto& attribute : customAttributes_) {
    if (attribute.first == name) return &attribute.second;
  }
  return nullptr;
}

void PaintManager::AddFont(int id, const FontInfo& font, bool makeDefault) {
  fonts_[id] = font;
  if (makeDefault) defaultFont_ = font;
}

const FontInfo* PaintManager::GetFont(int id) const {
  const auto it = fonts_.find(id);
  if (id != -1 && it != fonts_.end()) return &it->second;
  return defaultFont_ ? &*defaultFont_ : nullptr;
}

std::shared_ptr<Image> PaintManager::GetImage(const std::wstring& file,
                                              std::optional<uint32_t> maskRgb) {
  if (file.empty()) return nullptr;
  const auto key = std::make_pair(file, maskRgb ? *maskRgb : kNoMask);
  const auto it = images_.find(key);
  if (it != images_.end()) return it->second;
  std::shared_ptr<Image> image;
  if (const ArchiveEntry* entry = files_(file)) {
    image = DecodeImage(entry->data.data(), entry->data.size(), maskRgb);
  }
  // A missing image is remembered too, so it is not looked up at every paint.
  images_.emplace(key, image);
  return image;
}

void PaintManager::SetClientSize(Size size) {
  if (size.cx == clientSize_.cx && size.cy == clientSize_.cy) return;
  clientSize_ = size;
  needLayout_ = true;
}

void PaintManager::Paint(Painter& painter, const Rect& dirty) {
  if (!root_) return;
  if (needLayout_) {
    needLayout_ = false;
    root_->SetPos(Rect{0, 0, clientSize_.cx, clientSize_.cy});
  }
  root_->DoPaint(painter, dirty);
  if (!initSent_) {
    initSent_ = true;
    SendNotify(root_.get(), L"windowinit");
  }
}

void PaintManager::Invalidate(const Rect& rect) {
  if (host_ && !rect.IsEmpty()) host_->Invalidate(rect);
}

bool PaintManager::IsCaptionDrag(Point pt) const {
  const Rect band{caption_.left, caption_.top, clientSize_.cx - caption_.right, caption_.bottom};
  if (!band.Contains(pt)) return false;
  const CControlUI* control = FindControlAt(pt);
  if (!control) return true;
  const std::wstring cls = control->GetClass();
  return cls != L"Button" && cls != L"Option" && cls != L"Text";
}

void PaintManager::OnMouseMove(Point pt) {
  if (captured_) {
    ControlEvent event{EventType::MouseMove, pt, 0};
    captured_->DoEvent(event);
    return;
  }
  CControlUI* now = FindControlAt(pt);
  if (now != hot_) {
    CControlUI* old = hot_;
    hot_ = now;
    if (old) {
      ControlEvent leave{EventType::MouseLeave, pt, 0};
      old->DoEvent(leave);
    }
    if (now && now == hot_) {
      ControlEvent enter{EventType::MouseEnter, pt, 0};
      now->DoEvent(enter);
    }
  }
  if (hot_) {
    ControlEvent move{EventType::MouseMove, pt, 0};
    hot_->DoEvent(move);
  }
}

void PaintManager::OnMouseLeave() {
  if (captured_ || !hot_) return;
  CControlUI* old = hot_;
  hot_ = nullptr;
  ControlEvent leave{EventType::MouseLeave, Point{-1, -1}, 0};
  old->DoEvent(leave);
}

void PaintManager::OnButtonDown(Point pt) {
  CControlUI* control = FindControlAt(pt);
  SetFocus(control);
  if (!control || !control->IsEnabled()) return;
  ControlEvent event{EventType::ButtonDown, pt, 0};
  control->DoEvent(event);
}

void PaintManager::OnButtonUp(Point pt) {
  CControlUI* control = captured_ ? captured_ : FindControlAt(pt);
  SetCapture(nullptr);
  if (!control) return;
  ControlEvent event{EventType::ButtonUp, pt, 0};
  control->DoEvent(event);
}

bool PaintManager::OnKeyDown(unsigned key) {
  if (!focus_) return false;
  ControlEvent event{EventType::KeyDown, Point{}, key};
  focus_->DoEvent(event);
  return true;
}

void PaintManager::OnTimer(unsigned platformId) {
  for (const auto& timer : timers_) {
    if (timer.second != platformId) continue;
    // The control may kill or set timers while handling the tick.
    CControlUI* control = const_cast<CControlUI*>(timer.first.control);
    ControlEvent event{EventType::Timer, Point{}, timer.first.id};
    control->DoEvent(event);
    return;
  }
}

void PaintManager::OnContextMenu(Point pt) {
  if (CControlUI* control = FindControlAt(pt)) {
    ControlEvent event{EventType::ContextMenu, pt, 0};
    control->DoEvent(event);
  }
}

void PaintManager::SetFocus(CControlUI* control) {
  if (control == focus_) return;
  CControlUI* old = focus_;
  focus_ = control;
  if (old) {
    old->focused_ = false;
    ControlEvent event{EventType::KillFocus, Point{}, 0};
    old->DoEvent(event);
    SendNotify(old, L"killfocus");
  }
  if (control && control == focus_) {
    control->focused_ = true;
    ControlEvent event{EventType::SetFocus, Point{}, 0};
    control->DoEvent(event);
    SendNotify(control, L"setfocus");
  }
}

void PaintManager::SetCapture(CControlUI* control) {
  if (control == captured_) return;
  captured_ = control;
  if (host_) host_->CaptureMouse(control != nullptr);
}

void PaintManager::BeginEdit(CEditUI& edit) {
  if (host_) host_->BeginEdit(edit);
}

bool PaintManager::SetTimer(CControlUI* control, unsigned id, unsigned elapseMs) {
  if (!control) return false;
  const TimerKey key{control, id};
  auto it = timers_.find(key);
  unsigned platformId = 0;
  if (it != timers_.end()) {
    platformId = it->second;
  } else {
    platformId = nextTimerId_++;
  }
  if (host_ && !host_->StartTimer(platformId, elapseMs)) {
    if (it != timers_.end()) timers_.erase(it);
    return false;
  }
  timers_[key] = platformId;
  return true;
}

bool PaintManager::KillTimer(CControlUI* control, unsigned id) {
  const auto it = timers_.find(TimerKey{control, id});
  if (it == timers_.end()) return false;
  if (host_) host_->StopTimer(it->second);
  timers_.erase(it);
  return true;
}

bool PaintManager::HasTimer(const CControlUI* control, unsigned id) const {
  return timers_.count(TimerKey{control, id}) != 0;
}

void PaintManager::AddNotifier(INotifyReceiver* receiver) {
  if (receiver && std::find(receivers_.begin(), receivers_.end(), receiver) == receivers_.end())
    receivers_.push_back(receiver);
}

void PaintManager::RemoveNotifier(INotifyReceiver* receiver) {
  receivers_.erase(std::remove(receivers_.begin(), receivers_.end(), receiver), receivers_.end());
}

void PaintManager::SendNotify(CControlUI* sender, const std::wstring& type, uintptr_t wParam,
                              intptr_t lParam) {
  Notification notification;
  notification.type = type;
  notification.sender = sender;
  notification.wParam = wParam;
  notification.lParam = lParam;
  notification.timestamp = static_cast<uint64_t>(
      std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                            created_)
          .count());
  // A receiver may register or remove receivers while it handles this one.
  const std::vector<INotifyReceiver*> receivers = receivers_;
  for (INotifyReceiver* receiver : receivers) receiver->Notify(notification);
}

void PaintManager::ReapControl(CControlUI* control) {
  if (hot_ == control) hot_ = nullptr;
  if (captured_ == control) SetCapture(nullptr);
  if (focus_ == control) focus_ = nullptr;
  for (auto it = timers_.begin(); it != timers_.end();) {
    if (it->first.control == control) {
      if (host_) host_->StopTimer(it->second);
      it = timers_.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace SkinKit
