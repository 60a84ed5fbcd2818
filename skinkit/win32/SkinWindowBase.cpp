#include "skinkit/win32/SkinWindowBase.h"

#include <windowsx.h>

#include "skinkit/Control.h"
#include "skinkit/Edit.h"
#include "skinkit/win32/FailureMessage.h"
#include "skinkit/win32/GdiHandles.h"

namespace SkinKit {

namespace {

// BeginPaint and EndPaint around one WM_PAINT.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &ps_); }
  ~PaintScope() { EndPaint(window_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return dc_; }
  const RECT& dirty() const { return ps_.rcPaint; }

 private:
  HWND window_;
  PAINTSTRUCT ps_ = {};
  HDC dc_ = nullptr;
};

Point PointFrom(LPARAM lParam) { return Point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

}  // namespace

SkinWindowBase::SkinWindowBase() { manager_.SetHost(this); }

SkinWindowBase::~SkinWindowBase() {
  edit_.reset();
  RemovePreMessageFilter(this);
  manager_.SetHost(nullptr);
}

bool SkinWindowBase::RouteNotify(Notification& notification) {
  if (notification.type == L"click") {
    OnClick(notification);
    return true;
  }
  return false;
}

void SkinWindowBase::Notify(Notification& notification) { RouteNotify(notification); }

Size SkinWindowBase::MeasureText(const CLabelUI& label, const std::wstring& text) {
  const WindowDc dc(hwnd_);
  if (!dc.get()) return Size{};
  const SelectedObject font(dc.get(), fonts_.Get(manager_.GetFont(label.GetFont())));
  RECT r = {0, 0, 9999, 9999};
  const unsigned style = label.GetTextStyle() & ~unsigned{kTextVCenter | kTextBottom};
  ::DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r, style | DT_CALCRECT);
  return Size{r.right - r.left, r.bottom - r.top};
}

LRESULT SkinWindowBase::MessageHandler(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

std::unique_ptr<CControlUI> SkinWindowBase::CreateControl(const std::wstring&) { return nullptr; }

void SkinWindowBase::OnClick(Notification& notification) {
  if (!notification.sender) return;
  const std::wstring& name = notification.sender->GetName();
  if (name == L"closebtn") Close(IDCLOSE);
  else if (name == L"minbtn") SendMessageW(hwnd_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

LRESULT SkinWindowBase::OnSysCommand(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT SkinWindowBase::HandleCustomMessage(UINT, WPARAM, LPARAM, bool& handled) {
  handled = false;
  return 0;
}

LRESULT SkinWindowBase::OnCreate() {
  LONG_PTR style = GetWindowLongPtrW(hwnd_, GWL_STYLE);
  style = (style & ~static_cast<LONG_PTR>(WS_CAPTION)) | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  SetWindowLongPtrW(hwnd_, GWL_STYLE, style);
  RECT client = {};
  GetClientRect(hwnd_, &client);
  SetWindowPos(hwnd_, nullptr, client.left, client.top, client.right - client.left,
               client.bottom - client.top, SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  AddPreMessageFilter(hwnd_, this);

  if (GetResourceType() == kSkinResourceKind) {
    const PackageState package = EnsureSkinResource(GetModuleHandleW(nullptr), GetResourceID());
    if (package == PackageState::Missing) return 0;  // no package: an empty window
    // A package that is there but cannot be read leaves nothing to show.
    if (package == PackageState::Unreadable) FailToLoadSkin();
  }
  BuildResult built = SkinBuilder().Build(GetSkinFolder() + GetSkinFile(), manager_, this);
  if (!built.root) FailToLoadSkin();
  manager_.AttachRoot(std::move(built.root));
  manager_.AddNotifier(this);
  const Size size = manager_.GetInitSize();
  if (size.cx > 0 && size.cy > 0) {
    SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  OnSize();
  InitWindow();
  return 0;
}

void SkinWindowBase::OnSize() {
  RECT client = {};
  GetClientRect(hwnd_, &client);
  manager_.SetClientSize(Size{client.right, client.bottom});
  const Size round = manager_.GetRoundCorner();
  if (!IsIconic(hwnd_) && (round.cx > 0 || round.cy > 0)) {
    RECT window = {};
    GetWindowRect(hwnd_, &window);
    UniqueGdiObject region(CreateRoundRectRgn(0, 0, window.right - window.left + 1,
                                              window.bottom - window.top + 1, round.cx, round.cy));
    // The window owns the region once it is set.
    if (region && SetWindowRgn(hwnd_, static_cast<HRGN>(region.get()), TRUE)) {
      static_cast<void>(region.release());
    }
  }
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void SkinWindowBase::OnPaint() {
  PaintScope paint(hwnd_);
  RECT client = {};
  GetClientRect(hwnd_, &client);
  if (!buffer_ || buffer_->width() != client.right || buffer_->height() != client.bottom) {
    buffer_ = std::make_unique<DibSurface>(client.right, client.bottom);
  }
  if (!buffer_->valid()) return;
  const RECT& d = paint.dirty();
  IntersectClipRect(buffer_->dc(), d.left, d.top, d.right, d.bottom);
  GdiPainter painter(buffer_->dc(), fonts_, images_);
  manager_.Paint(painter, Rect{d.left, d.top, d.right, d.bottom});
  SelectClipRgn(buffer_->dc(), nullptr);
  BitBlt(paint.dc(), d.left, d.top, d.right - d.left, d.bottom - d.top, buffer_->dc(), d.left, d.top,
         SRCCOPY);
}

LRESULT SkinWindowBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  bool handled = false;
  const LRESULT custom = HandleCustomMessage(message, wParam, lParam, handled);
  if (handled) return custom;
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_DESTROY:
      RemovePreMessageFilter(this);
      edit_.reset();
      break;
    case WM_NCACTIVATE:
      return TRUE;  // no system frame to repaint
    case WM_NCCALCSIZE:
      return 0;  // the client area is the whole window
    case WM_NCPAINT:
      return 0;
    case WM_NCHITTEST: {
      POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ScreenToClient(hwnd_, &pt);
      return manager_.IsCaptionDrag(Point{pt.x, pt.y}) ? HTCAPTION : HTCLIENT;
    }
    case WM_SIZE:
      OnSize();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_MOUSEMOVE:
      if (!trackingMouse_) {
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd_, 0};
        trackingMouse_ = TrackMouseEvent(&track) != FALSE;
      }
      manager_.OnMouseMove(PointFrom(lParam));
      return 0;
    case WM_MOUSELEAVE:
      trackingMouse_ = false;
      manager_.OnMouseLeave();
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      // Takes the focus from a native edit, which ends editing.
      if (GetFocus() != hwnd_) SetFocus(hwnd_);
      manager_.OnButtonDown(PointFrom(lParam));
      return 0;
    case WM_LBUTTONUP:
      manager_.OnButtonUp(PointFrom(lParam));
      return 0;
    case WM_CONTEXTMENU: {
      POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ScreenToClient(hwnd_, &pt);
      manager_.OnContextMenu(Point{pt.x, pt.y});
      return 0;
    }
    case WM_KEYDOWN:
      if (manager_.OnKeyDown(static_cast<unsigned>(wParam))) return 0;
      break;
    case WM_TIMER:
      manager_.OnTimer(static_cast<unsigned>(wParam));
      return 0;
    case WM_SYSCOMMAND: {
      bool sysHandled = false;
      const LRESULT result = OnSysCommand(message, wParam, lParam, sysHandled);
      if (sysHandled) return result;
      break;
    }
    case WM_COMMAND:
      if (edit_ && reinterpret_cast<HWND>(lParam) == edit_->hwnd() && HIWORD(wParam) == EN_CHANGE) {
        edit_->OnChange();
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
      if (edit_ && reinterpret_cast<HWND>(lParam) == edit_->hwnd())
        return reinterpret_cast<LRESULT>(edit_->OnColor(reinterpret_cast<HDC>(wParam)));
      break;
    case NativeEdit::kEndEditMessage:
      if (edit_) {
        CEditUI& edit = edit_->edit();
        edit_.reset();
        edit.OnNativeEditEnded();
      }
      return 0;
    default:
      break;
  }
  return CNativeWindow::HandleMessage(message, wParam, lParam);
}

void SkinWindowBase::Invalidate(const Rect& rect) {
  if (!hwnd_) return;
  const RECT r = {rect.left, rect.top, rect.right, rect.bottom};
  InvalidateRect(hwnd_, &r, FALSE);
}

bool SkinWindowBase::StartTimer(unsigned platformId, unsigned elapseMs) {
  return hwnd_ && ::SetTimer(hwnd_, platformId, elapseMs, nullptr) != 0;
}

void SkinWindowBase::StopTimer(unsigned platformId) {
  if (hwnd_) ::KillTimer(hwnd_, platformId);
}

void SkinWindowBase::CaptureMouse(bool capture) {
  if (capture) ::SetCapture(hwnd_);
  else if (::GetCapture() == hwnd_) ::ReleaseCapture();
}

void SkinWindowBase::BeginEdit(CEditUI& edit) {
  edit_.reset();
  edit_ = std::make_unique<NativeEdit>(hwnd_, edit, fonts_);
}

}  // namespace SkinKit
