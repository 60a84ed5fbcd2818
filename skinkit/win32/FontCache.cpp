#include "skinkit/win32/FontCache.h"

namespace SkinKit {

HFONT FontCache::Get(const FontInfo* info) {
  HFONT system = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (!info) return system;
  const Key key{info->name, info->size, info->bold, info->underline, info->italic};
  auto it = fonts_.find(key);
  if (it != fonts_.end()) return static_cast<HFONT>(it->second.get());
  LOGFONTW lf = {};
  GetObjectW(system, sizeof lf, &lf);
  // LOGFONT holds 31 characters and the terminator.
  lstrcpynW(lf.lfFaceName, info->name.c_str(), LF_FACESIZE);
  lf.lfHeight = -info->size;
  lf.lfCharSet = DEFAULT_CHARSET;
  // Bold is the bold weight: the default weight plus 700 would pass the
  // 1000 that LOGFONT allows.
  if (info->bold) lf.lfWeight = FW_BOLD;
  lf.lfUnderline = info->underline ? TRUE : FALSE;
  lf.lfItalic = info->italic ? TRUE : FALSE;
  UniqueGdiObject font(CreateFontIndirectW(&lf));
  if (!font) return system;
  HFONT made = static_cast<HFONT>(font.get());
  fonts_.emplace(key, std::move(font));
  return made;
}

}  // namespace SkinKit
