#include "skinkit/ImageDescription.h"

#include <cwchar>

#include "skinkit/Values.h"

namespace SkinKit {

namespace {

void Apply(ImageDescription& d, const std::wstring& key, const std::wstring& value) {
  if (key == L"file") {
    d.file = value;
  } else if (key == L"res") {
    d.res = value;
  } else if (key == L"restype") {
    d.restype = value;
  } else if (key == L"color") {
    d.hasColor = true;
    d.color = ParseColor(value);
  } else if (key == L"dest") {
    d.hasDest = true;
    d.dest = ParseRect(value);
  } else if (key == L"source") {
    d.hasSource = true;
    d.source = ParseRect(value);
  } else if (key == L"corner" || key == L"scale9") {
    d.corner = ParseRect(value);
  } else if (key == L"mask") {
    d.hasMask = true;
    d.mask = ParseColor(value) & 0xFFFFFFu;
  } else if (key == L"fade") {
    const long fade = ParseInteger(value);
    d.fade = static_cast<uint8_t>(fade < 0 ? 0 : (fade > 255 ? 255 : fade));
  } else if (key == L"hole") {
    d.hole = ParseBool(value);
  } else if (key == L"xtiled") {
    d.xtiled = ParseBool(value);
  } else if (key == L"ytiled") {
    d.ytiled = ParseBool(value);
  } else if (key == L"hsl") {
    d.hsl = ParseBool(value);
  }
}

}  // namespace

ImageDescription ParseImageDescription(const std::wstring& text) {
  ImageDescription d;
  if (text.find(L'=') == std::wstring::npos) {
    d.file = text;
    return d;
  }
  size_t pos = 0;
  for (;;) {
    while (pos < text.size() && (text[pos] == L' ' || text[pos] == L'\t')) ++pos;
    const size_t eq = text.find(L'=', pos);
    if (eq == std::wstring::npos) break;
    const std::wstring key = text.substr(pos, eq - pos);
    if (eq + 1 >= text.size() || text[eq + 1] != L'\'') break;
    const size_t close = text.find(L'\'', eq + 2);
    if (close == std::wstring::npos) break;
    Apply(d, key, text.substr(eq + 2, close - eq - 2));
    pos = close + 1;
  }
  return d;
}

}  // namespace SkinKit
