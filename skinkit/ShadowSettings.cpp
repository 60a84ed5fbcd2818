#include "skinkit/ShadowSettings.h"

#include <cwchar>

#include "skinkit/PaintManager.h"
#include "skinkit/Values.h"

namespace SkinKit {

bool ShadowSettings::SetSize(int size) {
  if (size < -20 || size > 20) return false;
  params_.size = size;
  return true;
}

bool ShadowSettings::SetSharpness(int sharpness) {
  if (sharpness < 0 || sharpness > 20) return false;
  params_.sharpness = sharpness;
  return true;
}

bool ShadowSettings::SetDarkness(int darkness) {
  if (darkness < 0 || darkness > 255) return false;
  params_.darkness = darkness;
  return true;
}

bool ShadowSettings::SetPosition(int x, int y) {
  if (x < -20 || x > 20 || y < -20 || y > 20) return false;
  params_.xOffset = x;
  params_.yOffset = y;
  return true;
}

void ShadowSettings::SetColor(uint32_t color) { params_.color = color; }

ShadowRequest ReadShadowRequest(const PaintManager& manager) {
  ShadowRequest request;
  const std::wstring* show = manager.GetCustomAttribute(L"showshadow");
  request.enabled = show && EqualsNoCase(*show, L"true");
  if (!request.enabled) return request;
  auto number = [](const std::wstring& value) {
    return static_cast<int>(std::wcstol(value.c_str(), nullptr, 10));
  };
  if (const std::wstring* v = manager.GetCustomAttribute(L"shadowimage")) request.image = *v;
  if (const std::wstring* v = manager.GetCustomAttribute(L"shadowcorner")) request.corner = ParseRect(*v);
  if (const std::wstring* v = manager.GetCustomAttribute(L"shadowholeoffset"))
    request.holeOffset = ParseRect(*v);
  if (const std::wstring* v = manager.GetCustomAttribute(L"shadowsize")) request.size = number(*v);
  if (const std::wstring* v = manager.GetCustomAttribute(L"shadowsharpness")) request.sharpness = number(*v);
  if (const std::wstring* v = manager.GetCustomAttribute(L"shadowdarkness")) request.darkness = number(*v);
  if (const std::wstring* v = manager.GetCustomAttribute(L"shadowposition")) {
    const Size s = ParseSize(*v);
    request.position = Point{s.cx, s.cy};
  }
  if (const std::wstring* v = manager.GetCustomAttribute(L"shadowcolor")) request.color = ParseColor(*v);
  return request;
}

}  // namespace SkinKit
