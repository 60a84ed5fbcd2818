#include "skinkit/win32/GdiPainter.h"

#include <cstring>

#include "skinkit/Image.h"

namespace SkinKit {

namespace {

COLORREF ToColorRef(uint32_t argb) {
  return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

RECT ToRect(const Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

DibSurface::DibSurface(int width, int height, bool topDown) : width_(width), height_(height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = topDown ? -height : height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  dc_.reset(CreateCompatibleDC(nullptr));
  if (!dc_) return;
  bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_ || !bits) return;
  old_ = SelectObject(dc_.get(), bitmap_.get());
  bits_ = static_cast<uint32_t*>(bits);
  std::memset(bits_, 0, static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
}

DibSurface::~DibSurface() {
  if (old_) SelectObject(dc_.get(), old_);
}

const DibSurface* ImageSurfaces::Get(const Image& image) {
  auto it = surfaces_.find(&image);
  if (it != surfaces_.end()) return it->second.get();
  auto surface = std::make_unique<DibSurface>(image.width, image.height);
  if (!surface->valid()) return nullptr;
  std::memcpy(surface->bits(), image.pixels.data(), image.pixels.size() * 4);
  GdiFlush();
  return surfaces_.emplace(&image, std::move(surface)).first->second.get();
}

void GdiPainter::FillRect(const Rect& rect, uint32_t argb) {
  const uint8_t alpha = static_cast<uint8_t>(argb >> 24);
  if (alpha == 0 || rect.IsEmpty()) return;
  if (alpha == 255) {
    UniqueGdiObject brush(CreateSolidBrush(ToColorRef(argb)));
    const RECT r = ToRect(rect);
    ::FillRect(dc_, &r, static_cast<HBRUSH>(brush.get()));
    return;
  }
  DibSurface pixel(1, 1);
  if (!pixel.valid()) return;
  *pixel.bits() = Premultiply(argb & 0xFFFFFF, alpha);
  GdiFlush();
  const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dc_, rect.left, rect.top, rect.Width(), rect.Height(), pixel.dc(), 0, 0, 1, 1, blend);
}

void GdiPainter::FillRoundRect(const Rect& rect, Size round, uint32_t argb) {
  if ((argb >> 24) == 0 || rect.IsEmpty()) return;
  UniqueGdiObject region(
      CreateRoundRectRgn(rect.left, rect.top, rect.right + 1, rect.bottom + 1, round.cx, round.cy));
  UniqueGdiObject brush(CreateSolidBrush(ToColorRef(argb)));
  FillRgn(dc_, static_cast<HRGN>(region.get()), static_cast<HBRUSH>(brush.get()));
}

void GdiPainter::DrawImage(const Image& image, const Rect& dest, const Rect& source, uint8_t fade) {
  if (dest.IsEmpty() || source.IsEmpty() || fade == 0) return;
  const DibSurface* surface = images_.Get(image);
  if (!surface) return;
  if (!image.hasAlpha && fade == 255) {
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, dest.left, dest.top, dest.Width(), dest.Height(), surface->dc(), source.left,
               source.top, source.Width(), source.Height(), SRCCOPY);
    return;
  }
  const BLENDFUNCTION blend = {AC_SRC_OVER, 0, fade, AC_SRC_ALPHA};
  AlphaBlend(dc_, dest.left, dest.top, dest.Width(), dest.Height(), surface->dc(), source.left,
             source.top, source.Width(), source.Height(), blend);
}

void GdiPainter::DrawText(const Rect& rect, const std::wstring& text, uint32_t argb,
                          const FontInfo* font, unsigned style) {
  if (text.empty() || rect.IsEmpty()) return;
  SelectedObject selected(dc_, fonts_.Get(font));
  SetBkMode(dc_, TRANSPARENT);
  SetTextColor(dc_, ToColorRef(argb));
  RECT r = ToRect(rect);
  // DrawText centres vertically on one line only; several lines are measured
  // and placed by hand.
  if ((style & kTextWordBreak) && (style & (kTextVCenter | kTextBottom))) {
    RECT measured = r;
    ::DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &measured,
                (style & ~unsigned{kTextVCenter | kTextBottom}) | DT_CALCRECT);
    const int height = measured.bottom - measured.top;
    if (height < rect.Height()) {
      r.top += (style & kTextBottom) ? rect.Height() - height : (rect.Height() - height) / 2;
    }
    style &= ~unsigned{kTextVCenter | kTextBottom};
  }
  ::DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &r, style);
}

}  // namespace SkinKit
