#pragma once
// The window base of every skinned window: builds its control tree from its
// description in the skin package, paints it, feeds it the mouse, keyboard
// and timers, drags by the caption band and keeps the rounded region.

#include <windows.h>

#include <memory>
#include <string>

#include "skinkit/Builder.h"
#include "skinkit/Events.h"
#include "skinkit/Label.h"
#include "skinkit/PaintManager.h"
#include "skinkit/win32/FontCache.h"
#include "skinkit/win32/GdiPainter.h"
#include "skinkit/win32/MessageLoop.h"
#include "skinkit/win32/NativeEdit.h"
#include "skinkit/win32/NativeWindow.h"
#include "skinkit/win32/ResourcePackage.h"

namespace SkinKit {

// Routes notifications to the window's handlers ("click" to OnClick).
class CNotifyRouter {
 public:
  virtual ~CNotifyRouter() = default;
  virtual bool RouteNotify(Notification& notification) = 0;
};

class SkinWindowBase : public CNativeWindow,
                       public CNotifyRouter,
                       public INotifyReceiver,
                       public IMessageFilter,
                       public IBuilderCallback,
                       private IPaintHost {
 public:
  SkinWindowBase();
  ~SkinWindowBase() override;

  PaintManager& GetPaintManager() { return manager_; }
  // The size `text` takes in `label`'s font and text style on this window.
  Size MeasureText(const CLabelUI& label, const std::wstring& text);

  bool RouteNotify(Notification& notification) override;
  void Notify(Notification& notification) override;
  LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
  std::unique_ptr<CControlUI> CreateControl(const std::wstring& elementName) override;

 protected:
  virtual std::wstring GetSkinFolder() const { return std::wstring(); }
  virtual std::wstring GetSkinFile() const = 0;
  virtual int GetResourceType() const { return kSkinResourceKind; }
  virtual int GetResourceID() const { return kSkinResourceId; }
  // The tree is attached: find controls, set up the window.
  virtual void InitWindow() {}
  // "closebtn" closes the window, "minbtn" minimises it.
  virtual void OnClick(Notification& notification);
  virtual LRESULT OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  // Seen before the toolkit's own handling; set `handled` to keep it from there.
  virtual LRESULT HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  LRESULT OnCreate();
  void OnSize();
  void OnPaint();

  void Invalidate(const Rect& rect) override;
  bool StartTimer(unsigned platformId, unsigned elapseMs) override;
  void StopTimer(unsigned platformId) override;
  void CaptureMouse(bool capture) override;
  void BeginEdit(CEditUI& edit) override;

  FontCache fonts_;
  ImageSurfaces images_;
  std::unique_ptr<DibSurface> buffer_;
  PaintManager manager_;
  // After the manager: it refers to one of the manager's controls.
  std::unique_ptr<NativeEdit> edit_;
  bool trackingMouse_ = false;
};

}  // namespace SkinKit
