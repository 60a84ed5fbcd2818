#pragma once
// Events a paint manager delivers to its controls, and the named
// notifications controls send to their window.

#include <cstdint>
#include <string>

#include "skinkit/Geometry.h"

namespace SkinKit {

class CControlUI;

enum class EventType {
  MouseEnter,
  MouseLeave,
  MouseMove,
  ButtonDown,
  ButtonUp,
  KeyDown,
  SetFocus,
  KillFocus,
  Timer,
  ContextMenu,
};

struct ControlEvent {
  EventType type = EventType::MouseMove;
  Point pt;
  uintptr_t wParam = 0;  // timer identifier, key code
};

// Virtual-key codes the controls react to.
inline constexpr unsigned kKeyReturn = 0x0D;
inline constexpr unsigned kKeySpace = 0x20;

struct Notification {
  std::wstring type;
  CControlUI* sender = nullptr;
  uintptr_t wParam = 0;
  intptr_t lParam = 0;
  uint64_t timestamp = 0;  // milliseconds since the paint manager was made
};

class INotifyReceiver {
 public:
  virtual void Notify(Notification& notification) = 0;

  virtual ~INotifyReceiver() = default;
};

}  // namespace SkinKit
