#pragma once
// Owners of the GDI and window handles the toolkit makes.

#include <windows.h>

#include <cstdint>

#include "utils/UniqueHandle.h"

namespace SkinKit {

struct GdiObjectTraits {
  using Value = HGDIOBJ;
  static Value Empty() { return nullptr; }
  static bool IsValid(Value v) { return v != nullptr; }
  static void Close(Value v) { DeleteObject(v); }
};
using UniqueGdiObject = Utils::UniqueHandle<GdiObjectTraits>;

struct MemoryDcTraits {
  using Value = HDC;
  static Value Empty() { return nullptr; }
  static bool IsValid(Value v) { return v != nullptr; }
  static void Close(Value v) { DeleteDC(v); }
};
using UniqueMemoryDc = Utils::UniqueHandle<MemoryDcTraits>;

struct WindowTraits {
  using Value = HWND;
  static Value Empty() { return nullptr; }
  static bool IsValid(Value v) { return v != nullptr && IsWindow(v); }
  static void Close(Value v) { DestroyWindow(v); }
};
using UniqueWindow = Utils::UniqueHandle<WindowTraits>;

// Selects an object into a DC for one scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
  ~SelectedObject() { SelectObject(dc_, old_); }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// A window's DC from GetDC, released on scope exit.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// A 32-bit DIB section selected into its own memory DC, cleared to 0.
class DibSurface {
 public:
  // `topDown` false gives the bottom-up rows that UpdateLayeredWindow callers use.
  DibSurface(int width, int height, bool topDown = true);
  ~DibSurface();
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  bool valid() const { return bits_ != nullptr; }
  HDC dc() const { return dc_.get(); }
  uint32_t* bits() const { return bits_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  UniqueMemoryDc dc_;
  UniqueGdiObject bitmap_;
  HGDIOBJ old_ = nullptr;
  uint32_t* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace SkinKit
