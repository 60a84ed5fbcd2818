#pragma once
// GDI fonts made from the description's font records, kept per window.

#include <windows.h>

#include <map>
#include <string>
#include <tuple>

#include "skinkit/PaintManager.h"
#include "skinkit/win32/GdiHandles.h"

namespace SkinKit {

class FontCache {
 public:
  // The font for `info`; the system's default GUI font for null.
  HFONT Get(const FontInfo* info);

 private:
  using Key = std::tuple<std::wstring, int, bool, bool, bool>;
  std::map<Key, UniqueGdiObject> fonts_;
};

}  // namespace SkinKit
