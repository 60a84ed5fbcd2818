#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "skinkit/Image.h"
#include "skinkit/ImageDescription.h"
#include "skinkit/NineGrid.h"

namespace SkinKit {
namespace {

std::vector<uint8_t> ReadTestPng() {
  std::ifstream file(SKINKIT_TEST_PNG, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

TEST(ImageDescriptionParser, PlainPathsAndKeyValuePairs) {
  const ImageDescription plain = ParseImageDescription(L"res\\mainWnd\\bg1.png");
  EXPECT_EQ(plain.file, L"res\\mainWnd\\bg1.png");
  EXPECT_FALSE(plain.hasDest);
  EXPECT_EQ(plain.fade, 255);

  const ImageDescription d = ParseImageDescription(
      L"file='res\\a b.png' dest='0,8,16,24' source='16,0,32,16' corner='2,3,4,5' mask='#FF00FF' "
      L"fade='128' hole='true' xtiled='true' ytiled='false' hsl='true' unknown='x'");
  EXPECT_EQ(d.file, L"res\\a b.png");
  EXPECT_TRUE(d.hasDest);
  EXPECT_EQ(d.dest, (Rect{0, 8, 16, 24}));
  EXPECT_TRUE(d.hasSource);
  EXPECT_EQ(d.source, (Rect{16, 0, 32, 16}));
  EXPECT_EQ(d.corner, (Rect{2, 3, 4, 5}));
  EXPECT_TRUE(d.hasMask);
  EXPECT_EQ(d.mask, 0xFF00FFu);
  EXPECT_EQ(d.fade, 128);
  EXPECT_TRUE(d.hole);
  EXPECT_TRUE(d.xtiled);
  EXPECT_FALSE(d.ytiled);
  EXPECT_TRUE(d.hsl);

  EXPECT_EQ(ParseImageDescription(L"scale9='1,1,1,1' file='x.png'").corner, (Rect{1, 1, 1, 1}));
  // Keys are exact, values need their quotes, fade is kept in range.
  EXPECT_TRUE(ParseImageDescription(L"FILE='x.png'").file.empty());
  EXPECT_TRUE(ParseImageDescription(L"file=x.png").file.empty());
  EXPECT_EQ(ParseImageDescription(L"file='x.png' fade='999'").fade, 255);
  EXPECT_EQ(ParseImageDescription(L"file='x.png' dest='1,2").file, L"x.png");
}

TEST(ImageDecoding, PremultipliesAndAppliesTheMask) {
  const std::vector<uint8_t> png = ReadTestPng();
  ASSERT_FALSE(png.empty());
  const auto image = DecodeImage(png.data(), png.size());
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, 4);
  EXPECT_EQ(image->height, 2);
  EXPECT_EQ(image->pixels[0], 0xFFFF0000u);  // opaque red
  EXPECT_EQ(image->pixels[1], 0xFF00FF00u);
  EXPECT_EQ(image->pixels[2], 0x80000080u);  // half-transparent blue, premultiplied
  EXPECT_TRUE(image->hasAlpha);

  const auto masked = DecodeImage(png.data(), png.size(), 0xFF0000u);
  ASSERT_TRUE(masked);
  EXPECT_EQ(masked->pixels[0], 0u);
  EXPECT_EQ(masked->pixels[1], 0xFF00FF00u);

  const uint8_t garbage[] = {0x89, 'P', 'N', 'G', 1, 2, 3};
  EXPECT_FALSE(DecodeImage(garbage, sizeof garbage));
  EXPECT_FALSE(DecodeImage(png.data(), png.size() / 2));
  EXPECT_FALSE(DecodeImage(nullptr, 0));
}

TEST(NineGrid, CornersKeepTheirSizeAndTheRestStretches) {
  const auto whole = NineGridCells(Rect{0, 0, 100, 50}, Rect{0, 0, 10, 10}, Rect{}, false);
  ASSERT_EQ(whole.size(), 1u);
  EXPECT_EQ(whole[0].dest, (Rect{0, 0, 100, 50}));

  const auto cells = NineGridCells(Rect{10, 20, 110, 70}, Rect{0, 0, 10, 10}, Rect{2, 3, 4, 1}, false);
  ASSERT_EQ(cells.size(), 9u);
  EXPECT_EQ(cells[0].dest, (Rect{10, 20, 12, 23}));   // top-left corner unscaled
  EXPECT_EQ(cells[0].source, (Rect{0, 0, 2, 3}));
  EXPECT_EQ(cells[4].dest, (Rect{12, 23, 106, 69}));  // centre stretched
  EXPECT_EQ(cells[4].source, (Rect{2, 3, 6, 9}));
  EXPECT_TRUE(cells[4].centre);
  EXPECT_EQ(cells[8].dest, (Rect{106, 69, 110, 70}));

  EXPECT_EQ(NineGridCells(Rect{0, 0, 100, 50}, Rect{0, 0, 10, 10}, Rect{2, 2, 2, 2}, true).size(), 8u);

  // Borders wider than the destination shrink instead of overlapping.
  for (const GridCell& cell : NineGridCells(Rect{0, 0, 4, 4}, Rect{0, 0, 10, 10}, Rect{4, 4, 4, 4}, false)) {
    EXPECT_GE(cell.dest.left, 0);
    EXPECT_LE(cell.dest.right, 4);
    EXPECT_FALSE(cell.dest.IsEmpty());
  }
}

}  // namespace
}  // namespace SkinKit
