#include "skinkit/win32/WindowShadow.h"

#include <cstring>
#include <map>
#include <vector>

#include "skinkit/Image.h"
#include "skinkit/ImageDescription.h"
#include "skinkit/NineGrid.h"
#include "skinkit/ShadowBitmap.h"
#include "skinkit/SkinPackage.h"

namespace SkinKit {

namespace {

using UpdateLayeredWindowFn = BOOL(WINAPI*)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                            BLENDFUNCTION*, DWORD);

constexpr wchar_t kShadowClass[] = L"SkinShadowWnd";

struct ShadowProcess {
  UpdateLayeredWindowFn updateLayeredWindow = nullptr;
  HINSTANCE instance = nullptr;
  bool initialised = false;
  // Owners to their shadows; main thread only.
  std::map<HWND, CWindowShadow*> owners;
};

ShadowProcess& Process() {
  static ShadowProcess process;
  return process;
}

LRESULT CALLBACK ShadowWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

bool CWindowShadow::Initialize(HINSTANCE instance) {
  ShadowProcess& p = Process();
  if (p.initialised) return p.updateLayeredWindow != nullptr;
  p.initialised = true;
  HMODULE user32 = GetModuleHandleW(L"USER32.DLL");
  FARPROC proc = user32 ? GetProcAddress(user32, "UpdateLayeredWindow") : nullptr;
  if (!proc) return false;
  // Through the generic function pointer type, which converts to any other.
  p.updateLayeredWindow = reinterpret_cast<UpdateLayeredWindowFn>(reinterpret_cast<void (*)()>(proc));
  p.instance = instance;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = ShadowWindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kShadowClass;
  RegisterClassExW(&wc);
  return true;
}

CWindowShadow::~CWindowShadow() {
  // Put the owner's own procedure back, so no message reaches a shadow that is gone.
  if (owner_ && IsWindow(owner_) && previous_ &&
      GetWindowLongPtrW(owner_, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(OwnerProc)) {
    SetWindowLongPtrW(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
  }
  auto& owners = Process().owners;
  auto it = owners.find(owner_);
  if (it != owners.end() && it->second == this) owners.erase(it);
}

void CWindowShadow::Create(HWND owner) {
  ShadowProcess& p = Process();
  if (!p.updateLayeredWindow || !IsWindow(owner) || owner_) return;
  owner_ = owner;
  p.owners[owner] = this;
  shadow_.reset(CreateWindowExW(WS_EX_LAYERED | WS_EX_TRANSPARENT, kShadowClass, nullptr,
                                WS_POPUPWINDOW, CW_USEDEFAULT, 0, 0, 0, owner, nullptr, p.instance,
                                nullptr));
  const LONG_PTR style = GetWindowLongPtrW(owner, GWL_STYLE);
  status_ = kEnabled;
  if (style & WS_VISIBLE) {
    status_ |= kOwnerVisible;
    if (!(style & (WS_MAXIMIZE | WS_MINIMIZE))) {
      status_ |= kShadowVisible;
      ShowWindow(shadow_.get(), SW_SHOWNA);
      Update(owner);
    }
  }
  previous_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OwnerProc)));
}

void CWindowShadow::Changed() {
  if (IsShadowVisible() && shadow_) Update(GetParent(shadow_.get()));
}

bool CWindowShadow::SetSize(int size) {
  if (!settings_.SetSize(size)) return false;
  Changed();
  return true;
}

bool CWindowShadow::SetSharpness(int sharpness) {
  if (!settings_.SetSharpness(sharpness)) return false;
  Changed();
  return true;
}

bool CWindowShadow::SetDarkness(int darkness) {
  if (!settings_.SetDarkness(darkness)) return false;
  Changed();
  return true;
}

bool CWindowShadow::SetPosition(int x, int y) {
  if (!settings_.SetPosition(x, y)) return false;
  Changed();
  return true;
}

bool CWindowShadow::SetColor(COLORREF color) {
  settings_.SetColor(color);
  Changed();
  return true;
}

bool CWindowShadow::SetImage(const std::wstring& description, const Rect& corner,
                             const Rect& holeOffset) {
  const ImageDescription d = ParseImageDescription(description);
  const ArchiveEntry* entry = SkinPackage::Instance().Find(d.file);
  if (!entry) return false;
  std::shared_ptr<Image> image = DecodeImage(entry->data.data(), entry->data.size(),
                                             d.hasMask ? std::optional<uint32_t>(d.mask) : std::nullopt);
  if (!image) return false;
  image_ = std::move(image);
  imageDescription_ = description;
  imageCorner_ = corner;
  imageHoleOffset_ = holeOffset;
  Changed();
  return true;
}

POINT CWindowShadow::Position(const RECT& owner) const {
  const ShadowParams& p = settings_.Params();
  if (image_) return POINT{owner.left - imageCorner_.left, owner.top - imageCorner_.top};
  return POINT{owner.left + p.xOffset - p.size, owner.top + p.yOffset - p.size};
}

void CWindowShadow::DrawComputed(DibSurface& surface, HWND owner, int width, int height) const {
  std::vector<RowSpan> rows(static_cast<size_t>(height), RowSpan{width, 0});
  UniqueGdiObject region(CreateRectRgn(0, 0, 0, 0));
  if (region && GetWindowRgn(owner, static_cast<HRGN>(region.get())) != ERROR) {
    HRGN rgn = static_cast<HRGN>(region.get());
    for (int y = 0; y < height; ++y) {
      int first = 0;
      while (first < width && !PtInRegion(rgn, first, y)) ++first;
      if (first == width) continue;
      int last = width - 1;
      while (last > first && !PtInRegion(rgn, last, y)) --last;
      rows[static_cast<size_t>(y)] = RowSpan{first, last + 1};
    }
  }
  const ShadowBitmap bitmap = ComputeShadow(width, rows, settings_.Params());
  if (bitmap.width != surface.width() || bitmap.height != surface.height()) return;
  std::memcpy(surface.bits(), bitmap.pixels.data(), bitmap.pixels.size() * 4);
}

void CWindowShadow::DrawImage(DibSurface& surface) const {
  DibSurface source(image_->width, image_->height);
  if (!source.valid()) return;
  std::memcpy(source.bits(), image_->pixels.data(), image_->pixels.size() * 4);
  GdiFlush();
  const Rect borders{imageCorner_.left + imageHoleOffset_.left, imageCorner_.top + imageHoleOffset_.top,
                     imageCorner_.right + imageHoleOffset_.right,
                     imageCorner_.bottom + imageHoleOffset_.bottom};
  const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  for (const GridCell& cell : NineGridCells(Rect{0, 0, surface.width(), surface.height()},
                                            Rect{0, 0, image_->width, image_->height}, borders, true)) {
    AlphaBlend(surface.dc(), cell.dest.left, cell.dest.top, cell.dest.Width(), cell.dest.Height(),
               source.dc(), cell.source.left, cell.source.top, cell.source.Width(),
               cell.source.Height(), blend);
  }
}

void CWindowShadow::Update(HWND owner) {
  if (!shadow_ || !IsWindow(owner)) return;
  RECT window = {};
  GetWindowRect(owner, &window);
  const int ownerWidth = window.right - window.left;
  const int ownerHeight = window.bottom - window.top;
  const ShadowParams& p = settings_.Params();
  const int width = image_ ? ownerWidth + imageCorner_.left + imageCorner_.right : ownerWidth + 2 * p.size;
  const int height = image_ ? ownerHeight + imageCorner_.top + imageCorner_.bottom : ownerHeight + 2 * p.size;
  if (width <= 0 || height <= 0) return;
  DibSurface surface(width, height);
  if (!surface.valid()) return;
  if (image_) DrawImage(surface);
  else DrawComputed(surface, owner, ownerWidth, ownerHeight);
  GdiFlush();

  POINT position = Position(window);
  SIZE size = {width, height};
  POINT origin = {0, 0};
  SetWindowPos(shadow_.get(), nullptr, position.x, position.y, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  Process().updateLayeredWindow(shadow_.get(), nullptr, &position, &size, surface.dc(), &origin, 0,
                                &blend, ULW_ALPHA);
}

void CWindowShadow::OnOwnerMessage(HWND owner, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_DESTROY:
      shadow_.reset();
      break;
    case WM_MOVE:
      if (IsShadowVisible() && shadow_) {
        RECT window = {};
        GetWindowRect(owner, &window);
        const POINT position = Position(window);
        SetWindowPos(shadow_.get(), nullptr, position.x, position.y, 0, 0,
                     SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
      }
      break;
    case WM_SIZE:
      if (status_ & kEnabled) {
        const Size now{LOWORD(lParam), HIWORD(lParam)};
        if (wParam == SIZE_MAXIMIZED || wParam == SIZE_MINIMIZED) {
          ShowWindow(shadow_.get(), SW_HIDE);
          status_ &= ~kShadowVisible;
        } else if (status_ & kOwnerVisible) {
          // A growing window is painted before its shadow grows.
          if (now.cx <= lastSize_.cx && now.cy <= lastSize_.cy) Update(owner);
          else updatePending_ = true;
          if (!IsShadowVisible()) {
            ShowWindow(shadow_.get(), SW_SHOWNA);
            status_ |= kShadowVisible;
          }
        }
        lastSize_ = now;
      }
      break;
    case WM_ACTIVATE:
    case WM_EXITSIZEMOVE:
      if (IsShadowVisible()) Update(owner);
      break;
    case WM_PAINT:
      if (updatePending_) {
        Update(owner);
        updatePending_ = false;
      }
      break;
    case WM_SHOWWINDOW:
      if (status_ & kEnabled) {
        if (!wParam) {
          ShowWindow(shadow_.get(), SW_HIDE);
          status_ &= ~(kShadowVisible | kOwnerVisible);
        } else if (!(status_ & kOwnerVisible)) {
          updatePending_ = true;
          ShowWindow(shadow_.get(), SW_SHOWNA);
          status_ |= kShadowVisible | kOwnerVisible;
        }
      }
      break;
    default:
      break;
  }
}

LRESULT CALLBACK CWindowShadow::OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto& owners = Process().owners;
  const auto it = owners.find(hwnd);
  if (it == owners.end()) return DefWindowProcW(hwnd, message, wParam, lParam);
  CWindowShadow* shadow = it->second;
  const WNDPROC previous = shadow->previous_;
  shadow->OnOwnerMessage(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    owners.erase(hwnd);
    shadow->owner_ = nullptr;
  }
  return CallWindowProcW(previous, hwnd, message, wParam, lParam);
}

void ApplyShadowRequest(CWindowShadow& shadow, HWND owner, const ShadowRequest& request) {
  if (!request.enabled) return;
  shadow.Create(owner);
  if (request.image) shadow.SetImage(*request.image, request.corner, request.holeOffset);
  if (request.size) shadow.SetSize(*request.size);
  if (request.sharpness) shadow.SetSharpness(*request.sharpness);
  if (request.darkness) shadow.SetDarkness(*request.darkness);
  if (request.position) shadow.SetPosition(request.position->x, request.position->y);
  if (request.color) shadow.SetColor(*request.color);
}

}  // namespace SkinKit
