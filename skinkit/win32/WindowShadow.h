#pragma once
// The drop shadow of a frameless window: a transparent layered popup owned by
// the window, following it through a subclass of its window procedure.

#include <windows.h>

#include <memory>
#include <string>

#include "skinkit/Geometry.h"
#include "skinkit/ShadowSettings.h"
#include "skinkit/win32/GdiHandles.h"

namespace SkinKit {

struct Image;

class CWindowShadow {
 public:
  CWindowShadow() = default;
  virtual ~CWindowShadow();
  CWindowShadow(const CWindowShadow&) = delete;
  CWindowShadow& operator=(const CWindowShadow&) = delete;

  // Once per process. False (and no shadows) when the system has no layered windows.
  static bool Initialize(HINSTANCE instance);

  void Create(HWND owner);

  bool SetSize(int size);
  bool SetSharpness(int sharpness);
  bool SetDarkness(int darkness);
  bool SetPosition(int x, int y);
  bool SetColor(COLORREF color);
  // An image (from the skin package) drawn as a nine-grid instead of the
  // computed shadow; false, keeping the old state, when it cannot be loaded.
  bool SetImage(const std::wstring& description, const Rect& corner, const Rect& holeOffset);

  // Recomputes and shows the shadow for the owner's current shape.
  void Update(HWND owner);

  HWND GetShadowWindow() const { return shadow_.get(); }
  bool IsShadowVisible() const { return (status_ & kShadowVisible) != 0; }

 private:
  static constexpr unsigned kEnabled = 1, kShadowVisible = 2, kOwnerVisible = 4;

  static LRESULT CALLBACK OwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void OnOwnerMessage(HWND owner, UINT message, WPARAM wParam, LPARAM lParam);
  void Changed();
  POINT Position(const RECT& owner) const;
  void DrawComputed(DibSurface& surface, HWND owner, int width, int height) const;
  void DrawImage(DibSurface& surface) const;

  UniqueWindow shadow_;
  HWND owner_ = nullptr;
  WNDPROC previous_ = nullptr;
  unsigned status_ = 0;
  ShadowSettings settings_;
  Size lastSize_;
  bool updatePending_ = false;
  std::shared_ptr<Image> image_;
  std::wstring imageDescription_;
  Rect imageCorner_;
  Rect imageHoleOffset_;
};

// Sets up `shadow` for `owner` from its description's shadow attributes, in
// the order image, size, sharpness, darkness, position, colour.
void ApplyShadowRequest(CWindowShadow& shadow, HWND owner, const ShadowRequest& request);

}  // namespace SkinKit
