#include <gtest/gtest.h>

#include <cmath>

#include "SkinTestSupport.h"
#include "skinkit/ShadowBitmap.h"
#include "skinkit/ShadowSettings.h"

namespace SkinKit {
namespace {

// The descriptions' shadow: size 6, sharpness 10, darkness 20, position 1,1, "#26003B76".
ShadowParams DescriptionShadow() {
  ShadowParams p;
  p.size = 6;
  p.sharpness = 10;
  p.darkness = 20;
  p.xOffset = 1;
  p.yOffset = 1;
  p.color = 0x26003B76;
  return p;
}

// A 600 x 400 window with its "roundcorner" 2,2 region: the corner pixel of
// each corner is outside.
std::vector<RowSpan> RoundedWindow(int width, int height) {
  std::vector<RowSpan> rows(height, RowSpan{0, width});
  rows.front() = rows.back() = RowSpan{1, width - 1};
  return rows;
}

TEST(ShadowBitmapTest, TheDescriptionsShadowOnA600By400Window) {
  const std::vector<RowSpan> window = RoundedWindow(600, 400);
  const ShadowBitmap b = ComputeShadow(600, window, DescriptionShadow());
  EXPECT_EQ(b.width, 612);
  EXPECT_EQ(b.height, 412);
  EXPECT_EQ(b.erosions, 4);
  EXPECT_EQ(b.kernelRadius, 10);
  EXPECT_EQ(b.kernel.size(), 21u * 21u);

  // The window sits 5 pixels in from the left and top: its area is clear,
  // and the shadow shows through the corner pixels outside its region.
  for (int y = 0; y < 400; ++y)
    for (int x = window[y].start; x < window[y].end; ++x)
      ASSERT_EQ(b.At(x + 5, y + 5), 0u) << x << "," << y;
  EXPECT_NE(b.At(5, 5), 0u);

  // Beyond the right and bottom edges the soft edge shows, 4 pixels from the
  // eroded shape: (1 - 4/11) * 20 = 12, in red 0x76, green 0x3B, blue 0,
  // premultiplied; it fades out towards the bitmap's border.
  const uint32_t edge = (12u << 24) | ((0x76u * 12 / 255) << 16) | ((0x3Bu * 12 / 255) << 8);
  EXPECT_EQ(b.At(605, 200), edge);
  EXPECT_EQ(b.At(300, 405), edge);
  EXPECT_EQ(ShadowKernelValue(DescriptionShadow(), 0, 0),
            (20u << 24) | ((0x76u * 20 / 255) << 16) | ((0x3Bu * 20 / 255) << 8));
  EXPECT_GT(b.At(611, 200) >> 24, 0u);
  EXPECT_LT(b.At(611, 200) >> 24, b.At(606, 200) >> 24);
  EXPECT_GT(b.At(0, 200) >> 24, 0u);
  EXPECT_EQ(b.At(0, 0), 0u);
  for (uint32_t pixel : b.pixels) ASSERT_LE(pixel >> 24, 20u);
}

TEST(ShadowBitmapTest, KernelFadesOverTheSharpnessAroundASolidCore) {
  const ShadowParams p = DescriptionShadow();
  EXPECT_EQ(ShadowKernelValue(p, 0, 0) >> 24, 20u);
  EXPECT_EQ(ShadowKernelValue(p, 10, 0) >> 24, 1u);  // (1 - 10/11) * 20
  EXPECT_EQ(ShadowKernelValue(p, 5, 0) >> 24, 10u);  // (1 - 5/11) * 20
  EXPECT_EQ(ShadowKernelValue(p, 10, 10), 0u);       // outside the radius

  ShadowParams core = p;
  core.size = 8;
  core.sharpness = 3;
  const ShadowBitmap b = ComputeShadow(50, RoundedWindow(50, 30), core);
  EXPECT_EQ(b.erosions, 0);  // sharpness not above size
  EXPECT_EQ(b.kernelRadius, 8);
  EXPECT_EQ(ShadowKernelValue(core, 4, 0) >> 24, 20u);  // inside the core of radius 5
  EXPECT_EQ(ShadowKernelValue(core, 5, 0) >> 24, 20u);  // (1 - 0/4) at its edge
  EXPECT_EQ(ShadowKernelValue(core, 7, 0) >> 24, 10u);  // (1 - 2/4) * 20
}

TEST(ShadowBitmapTest, AWindowWithoutShapeCastsNoShadow) {
  const std::vector<RowSpan> none(100, RowSpan{100, 0});
  const ShadowBitmap b = ComputeShadow(100, none, DescriptionShadow());
  EXPECT_EQ(b.width, 112);
  for (uint32_t pixel : b.pixels) ASSERT_EQ(pixel, 0u);

  ShadowParams shrink = DescriptionShadow();
  shrink.size = -20;
  const ShadowBitmap tiny = ComputeShadow(30, RoundedWindow(30, 30), shrink);
  EXPECT_EQ(tiny.width, 0);
  EXPECT_TRUE(tiny.pixels.empty());
}

TEST(ShadowSettingsTest, SettersRefuseValuesOutsideTheirRange) {
  ShadowSettings s;
  EXPECT_TRUE(s.SetSize(6));
  EXPECT_FALSE(s.SetSize(25));
  EXPECT_FALSE(s.SetSize(-21));
  EXPECT_EQ(s.Params().size, 6);
  EXPECT_TRUE(s.SetSharpness(0));
  EXPECT_FALSE(s.SetSharpness(21));
  EXPECT_FALSE(s.SetSharpness(-1));
  EXPECT_EQ(s.Params().sharpness, 0);
  EXPECT_TRUE(s.SetDarkness(255));
  EXPECT_FALSE(s.SetDarkness(256));
  EXPECT_EQ(s.Params().darkness, 255);
  EXPECT_FALSE(s.SetPosition(-21, 0));
  EXPECT_FALSE(s.SetPosition(0, 21));
  EXPECT_EQ(s.Params().xOffset, 5);  // the default stays
  EXPECT_TRUE(s.SetPosition(-20, 20));
  EXPECT_EQ(s.Params().yOffset, 20);
}

TEST(ShadowSettingsTest, ReadsTheDescriptionsRequest) {
  PaintManager manager;
  ASSERT_TRUE(BuildAttached(manager,
                            L"<Window showshadow=\"TRUE\" shadowsize=\"6\" shadowsharpness=\"10\" "
                            L"shadowdarkness=\"20\" shadowposition=\"1,1\" shadowcolor=\"#26003B76\">"
                            L"<Control/></Window>"));
  const ShadowRequest r = ReadShadowRequest(manager);
  EXPECT_TRUE(r.enabled);
  EXPECT_EQ(r.size.value_or(0), 6);
  EXPECT_EQ(r.sharpness.value_or(0), 10);
  EXPECT_EQ(r.darkness.value_or(0), 20);
  ASSERT_TRUE(r.position);
  EXPECT_EQ(r.position->x, 1);
  EXPECT_EQ(r.position->y, 1);
  EXPECT_EQ(r.color.value_or(0), 0x26003B76u);
  EXPECT_FALSE(r.image);

  PaintManager off;
  ASSERT_TRUE(BuildAttached(off, L"<Window showshadow=\"yes\" shadowsize=\"6\"><Control/></Window>"));
  EXPECT_FALSE(ReadShadowRequest(off).enabled);
  EXPECT_FALSE(ReadShadowRequest(off).size);
}

}  // namespace
}  // namespace SkinKit
