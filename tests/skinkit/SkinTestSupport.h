#pragma once
// A paint host that records what the toolkit asks of the window, a receiver
// that records notifications, and building a tree from description text.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "skinkit/Builder.h"
#include "skinkit/Control.h"
#include "skinkit/PaintManager.h"
#include "skinkit/Painter.h"
#include "utils/Encoding.h"

namespace SkinKit {

class RecordingHost : public IPaintHost {
 public:
  void Invalidate(const Rect&) override { ++invalidations; }
  bool StartTimer(unsigned platformId, unsigned elapseMs) override {
    timers[platformId] = elapseMs;
    return true;
  }
  void StopTimer(unsigned platformId) override { timers.erase(platformId); }
  void CaptureMouse(bool capture) override { captured = capture; }
  void BeginEdit(CEditUI&) override { ++edits; }

  std::map<unsigned, unsigned> timers;  // running: platform id to interval
  int invalidations = 0;
  bool captured = false;
  int edits = 0;
};

class RecordingReceiver : public INotifyReceiver {
 public:
  void Notify(Notification& n) override {
    seen.push_back(n.type + L":" + (n.sender ? n.sender->GetName() : L""));
    last = n;
  }
  std::vector<std::wstring> seen;
  Notification last;
};

class NullPainter : public Painter {
 public:
  void FillRect(const Rect&, uint32_t) override {}
  void FillRoundRect(const Rect&, Size, uint32_t) override {}
  void DrawImage(const Image&, const Rect&, const Rect&, uint8_t) override {}
  void DrawText(const Rect&, const std::wstring&, uint32_t, const FontInfo*, unsigned) override {}
};

inline std::vector<uint8_t> Utf8Bytes(const std::wstring& text) {
  const std::string narrow = Utils::ToNarrow(text, Utils::kCodePageUtf8);
  return std::vector<uint8_t>(narrow.begin(), narrow.end());
}

// Builds `description` into `manager` and attaches it, laid out at `size`.
inline CControlUI* BuildAttached(PaintManager& manager, const std::wstring& description,
                                 Size size = Size{600, 400}, IBuilderCallback* callback = nullptr) {
  BuildResult built = SkinBuilder().BuildFromBytes(Utf8Bytes(description), manager, callback);
  if (!built.root) return nullptr;
  manager.SetClientSize(size);
  manager.AttachRoot(std::move(built.root));
  NullPainter painter;
  manager.Paint(painter, Rect{0, 0, size.cx, size.cy});
  return manager.GetRoot();
}

}  // namespace SkinKit
