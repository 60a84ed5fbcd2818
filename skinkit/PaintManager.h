#pragma once
// One window's control tree and everything its controls share: window
// attributes, fonts by id, the image cache, timers, focus, mouse tracking and
// the notifications sent to the window. The platform side (a real window, or
// a test double) is the IPaintHost.

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "skinkit/Events.h"
#include "skinkit/Geometry.h"
#include "skinkit/Image.h"

namespace SkinKit {

class CControlUI;
class CEditUI;
class Painter;
struct ArchiveEntry;

struct FontInfo {
  std::wstring name;  // face name
  int size = 12;      // character height in pixels
  bool bold = false;
  bool underline = false;
  bool italic = false;
};

class IPaintHost {
 public:
  virtual void Invalidate(const Rect& rect) = 0;
  virtual bool StartTimer(unsigned platformId, unsigned elapseMs) = 0;
  virtual void StopTimer(unsigned platformId) = 0;
  virtual void CaptureMouse(bool capture) = 0;
  // Shows the native editing control over `edit` until editing ends.
  virtual void BeginEdit(CEditUI& edit) = 0;

  virtual ~IPaintHost() = default;
};

class PaintManager {
 public:
  using FileSource = std::function<const ArchiveEntry*(const std::wstring& name)>;

  // Images come from the process-wide skin package unless `files` says otherwise.
  explicit PaintManager(IPaintHost* host = nullptr, FileSource files = {});
  ~PaintManager();
  PaintManager(const PaintManager&) = delete;
  PaintManager& operator=(const PaintManager&) = delete;

  void SetHost(IPaintHost* host) { host_ = host; }

  // Takes the tree, initialises every control and lays it out at the next paint.
  void AttachRoot(std::unique_ptr<CControlUI> root);
  CControlUI* GetRoot() const { return root_.get(); }
  CControlUI* FindControl(const std::wstring& name) const;
  CControlUI* FindControlAt(Point pt) const;

  // Window attributes: "size", "caption", "roundcorner"; any other name is kept
  // as a custom attribute (later values replace earlier ones).
  void SetWindowAttribute(const std::wstring& name, const std::wstring& value);
  Size GetInitSize() const { return initSize_; }
  const Rect& GetCaptionRect() const { return caption_; }
  Size GetRoundCorner() const { return roundCorner_; }
  // Exact name; null when absent.
  const std::wstring* GetCustomAttribute(const std::wstring& name) const;

  // Registers a font under `id`, replacing an earlier one.
  void AddFont(int id, const FontInfo& font, bool makeDefault);
  // The font of `id`; the default font for -1 or an unknown id; null when
  // there is none (the system's default GUI font applies).
  const FontInfo* GetFont(int id) const;

  // Loaded on first use and kept for the window; null when the file is missing
  // or not an image.
  std::shared_ptr<Image> GetImage(const std::wstring& file, std::optional<uint32_t> maskRgb);

  void SetClientSize(Size size);
  Size GetClientSize() const { return clientSize_; }
  void NeedLayout() { needLayout_ = true; }
  // Lays out when needed, paints the tree, and after the first paint sends "windowinit".
  void Paint(Painter& painter, const Rect& dirty);
  void Invalidate(const Rect& rect);

  // A press at `pt` drags the window: inside the caption band and not on a
  // control of class "Button", "Option" or "Text".
  bool IsCaptionDrag(Point pt) const;

  void OnMouseMove(Point pt);
  void OnMouseLeave();
  void OnButtonDown(Point pt);
  void OnButtonUp(Point pt);
  // True when a control took the key.
  bool OnKeyDown(unsigned key);
  void OnTimer(unsigned platformId);
  void OnContextMenu(Point pt);

  CControlUI* GetFocus() const { return focus_; }
  void SetFocus(CControlUI* control);
  void SetCapture(CControlUI* control);
  void BeginEdit(CEditUI& edit);

  // A timer `id` of `control` ticking every `elapseMs`; setting it again restarts it.
  bool SetTimer(CControlUI* control, unsigned id, unsigned elapseMs);
  bool KillTimer(CControlUI* control, unsigned id);
  bool HasTimer(const CControlUI* control, unsigned id) const;

  void AddNotifier(INotifyReceiver* receiver);
  void RemoveNotifier(INotifyReceiver* receiver);
  void SendNotify(CControlUI* sender, const std::wstring& type, uintptr_t wParam = 0,
                  intptr_t lParam = 0);

  // A control is going away: forget every reference to it.
  void ReapControl(CControlUI* control);

 private:
  struct TimerKey {
    const CControlUI* control;
    unsigned id;
    bool operator<(const TimerKey& o) const {
      return control != o.control ? std::less<const CControlUI*>()(control, o.control) : id < o.id;
    }
  };

  IPaintHost* host_;
  FileSource files_;
  std::unique_ptr<CControlUI> root_;
  Size initSize_;
  Rect caption_;
  Size roundCorner_;
  std::vector<std::pair<std::wstring, std::wstring>> customAttributes_;
  std::map<int, FontInfo> fonts_;
  std::optional<FontInfo> defaultFont_;
  std::map<std::pair<std::wstring, uint32_t>, std::shared_ptr<Image>> images_;
  Size clientSize_;
  bool needLayout_ = true;
  bool initSent_ = false;
  CControlUI* hot_ = nullptr;
  CControlUI* captured_ = nullptr;
  CControlUI* focus_ = nullptr;
  std::map<TimerKey, unsigned> timers_;  // to the platform timer id
  unsigned nextTimerId_ = 0x1000;
  std::vector<INotifyReceiver*> receivers_;
  std::chrono::steady_clock::time_point created_;
};

}  // namespace SkinKit
