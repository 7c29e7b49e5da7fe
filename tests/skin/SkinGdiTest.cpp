// The Win32 end of skin drawing on real device contexts (run under Wine): pixels are
// read back from the device after each copy.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/win/Dc.h"
#include "skin/gdi/SkinGdi.h"

namespace kv {
namespace {

constexpr std::uint32_t kBack = 0x00204060;
constexpr std::uint32_t kMagenta = 0x00FF00FF;

// A picture with a magenta cross through its middle.
TPixelBitmap CrossPicture(int w, int h) {
  TPixelBitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.SetPixel(x, y, (x == w / 2 || y == h / 2) ? kMagenta : std::uint32_t(0x00100000 * (x % 8) + 0x0800 * y + 0x11));
  return b;
}

// A memory device context over a bitmap made for the screen's own format.
class TScreenBitmap {
 public:
  TScreenBitmap(int w, int h)
      : FDc(CreateCompatibleDC(TWindowDc::Screen().Get())),
        FBitmap(CreateCompatibleBitmap(TWindowDc::Screen().Get(), w, h)),
        FSelect(FDc.Get(), FBitmap.Get()) {
    const TBrushHandle brush(CreateSolidBrush(ColorOf(kBack)));
    RECT all{0, 0, w, h};
    FillRect(FDc.Get(), &all, brush.Get());
  }
  HDC Dc() const { return FDc.Get(); }
  TPixelBitmap Pixels(int w, int h) const { return ReadDcPixels(FDc.Get(), {0, 0, w, h}); }

 private:
  TMemoryDc FDc;
  TBitmapHandle FBitmap;
  TSelectGuard FSelect;
};

TEST(SkinGdi, KeyedCopyLeavesMagentaPixelsUntouched) {
  const TPixelBitmap picture = CrossPicture(12, 9);
  TScreenBitmap device(30, 20);
  TransparentBlit(device.Dc(), {5, 4, 17, 13}, picture);
  const TPixelBitmap seen = device.Pixels(30, 20);
  ASSERT_FALSE(seen.Empty());
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) {
      const bool inside = x >= 5 && x < 17 && y >= 4 && y < 13;
      const std::uint32_t expected =
          inside && picture.Pixel(x - 5, y - 4) != kMagenta ? picture.Pixel(x - 5, y - 4) : kBack;
      ASSERT_EQ(seen.Pixel(x, y), expected) << x << "," << y;
    }
}

TEST(SkinGdi, PlainCopyAndNoMagentaDrawOpaque) {
  const TPixelBitmap picture = CrossPicture(6, 5);
  TScreenBitmap device(10, 10);
  CopyToDc(device.Dc(), 2, 3, picture);
  const TPixelBitmap seen = device.Pixels(10, 10);
  EXPECT_EQ(seen.Pixel(2 + 3, 3 + 0), kMagenta);  // the cross comes along
  EXPECT_EQ(seen.Pixel(2, 3), picture.Pixel(0, 0));
  EXPECT_EQ(seen.Pixel(1, 3), kBack);

  TScreenBitmap all(10, 10);
  const TPixelBitmap opaque(4, 4, 0x00336699);
  TransparentBlit(all.Dc(), {0, 0, 4, 4}, opaque);
  TransparentBlit(all.Dc(), {4, 4, 8, 8}, TPixelBitmap(4, 4, kMagenta));
  const TPixelBitmap seenAll = all.Pixels(10, 10);
  EXPECT_EQ(seenAll.Pixel(3, 3), 0x00336699u);
  EXPECT_EQ(seenAll.Pixel(5, 5), kBack);
}

TEST(SkinGdi, SkinImageOntoADevice) {
  TPixelBitmap strip = CrossPicture(20, 10);  // two 10-wide frames
  TScreenBitmap device(40, 30);
  DrawSkinImage(device.Dc(), {2, 2, 12, 12}, strip, TDrawFlags::dfTransparent, 2, 2, {2, 2, 2, 2});
  TPixelBitmap expected(40, 30, kBack);
  DrawSkinImage(expected, {2, 2, 12, 12}, strip, TDrawFlags::dfTransparent, 2, 2, {2, 2, 2, 2});
  DrawNineSliceBorder(device.Dc(), {15, 5, 35, 25}, strip, false, 2, 1, {3, 3, 3, 3});
  DrawNineSliceBorder(expected, {15, 5, 35, 25}, strip, false, 2, 1, {3, 3, 3, 3});
  DrawThreeSliceTiled(device.Dc(), {0, 26, 40, 30}, strip, TDrawFlags::dfNone, 2, 1, {3, 0, 3, 0});
  DrawThreeSliceTiled(expected, {0, 26, 40, 30}, strip, TDrawFlags::dfNone, 2, 1, {3, 0, 3, 0});
  const TPixelBitmap seen = device.Pixels(40, 30);
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 40; ++x) ASSERT_EQ(seen.Pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
}

TEST(SkinGdi, RegionFromPicture) {
  TPixelBitmap picture(6, 4, 0x00000000);
  picture.SetPixel(0, 0, kMagenta);
  picture.SetPixel(5, 3, kMagenta);
  const TRegionHandle region = BitmapToRegion(picture, 100, 50, 0, 0, 0);
  ASSERT_TRUE(region);
  EXPECT_FALSE(PtInRegion(region.Get(), 100, 50));
  EXPECT_TRUE(PtInRegion(region.Get(), 101, 50));
  EXPECT_TRUE(PtInRegion(region.Get(), 104, 53));
  EXPECT_FALSE(PtInRegion(region.Get(), 105, 53));
  EXPECT_FALSE(PtInRegion(region.Get(), 106, 51));
  RECT box{};
  EXPECT_EQ(GetRgnBox(region.Get(), &box), COMPLEXREGION);
  EXPECT_EQ(box.left, 100);
  EXPECT_EQ(box.bottom, 54);
}

TEST(SkinGdi, RegionOfManyBatches) {
  // A checkerboard-like picture: 4 runs per row, 3000 rows = 12000 rectangles, 6 batches.
  TPixelBitmap picture(8, 3000, 0x00000000);
  for (int y = 0; y < 3000; ++y)
    for (int x = 1; x < 8; x += 2) picture.SetPixel(x, y, kMagenta);
  const TRegionHandle region = BitmapToRegion(picture, 0, 0, 0, 0, 0);
  ASSERT_TRUE(region);
  for (int y : {0, 1999, 2000, 2999}) {
    EXPECT_TRUE(PtInRegion(region.Get(), 0, y)) << y;
    EXPECT_FALSE(PtInRegion(region.Get(), 1, y)) << y;
    EXPECT_TRUE(PtInRegion(region.Get(), 6, y)) << y;
  }
  const TRegionHandle empty = BitmapToRegion(TPixelBitmap(5, 5, kMagenta), 0, 0, 0, 0, 0);
  ASSERT_TRUE(empty);
  RECT box{};
  EXPECT_EQ(GetRgnBox(empty.Get(), &box), NULLREGION);
}

TEST(SkinGdi, PixelsComeBackFromABitmapHandle) {
  const TPixelBitmap picture = CrossPicture(7, 5);
  const TBitmapHandle handle(CreateCompatibleBitmap(TWindowDc::Screen().Get(), 7, 5));
  {
    TMemoryDc memory(CreateCompatibleDC(nullptr));
    TSelectGuard select(memory.Get(), handle.Get());
    CopyToDc(memory.Get(), 0, 0, picture);
  }
  const TPixelBitmap back = PixelsFromBitmap(handle.Get());
  ASSERT_EQ(back.Width(), 7);
  ASSERT_EQ(back.Height(), 5);
  EXPECT_TRUE(std::equal(back.Pixels().begin(), back.Pixels().end(), picture.Pixels().begin()));
  EXPECT_TRUE(PixelsFromBitmap(nullptr).Empty());
}

TEST(SkinGdi, SystemColoursResolve) {
  EXPECT_EQ(ResolveColor(0xFF000000u | COLOR_WINDOW), GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(ResolveColor(0x00123456u), COLORREF(0x00123456u));
}

TEST(SkinGdi, KeyedCopyOntoAWindow) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KvSkinGdiTest";
  wc.hbrBackground = nullptr;
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(WS_EX_TOPMOST, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 30, nullptr,
                                nullptr, wc.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  UpdateWindow(window);
  const TPixelBitmap picture = CrossPicture(12, 9);
  TPixelBitmap seen;
  {
    const TWindowDc dc = TWindowDc::Client(window);
    const TBrushHandle brush(CreateSolidBrush(ColorOf(kBack)));
    RECT all{0, 0, 40, 30};
    FillRect(dc.Get(), &all, brush.Get());
    TransparentBlit(dc.Get(), {3, 3, 15, 12}, picture);
    seen = ReadDcPixels(dc.Get(), {0, 0, 40, 30});
  }
  DestroyWindow(window);
  ASSERT_FALSE(seen.Empty());
  EXPECT_EQ(seen.Pixel(3 + 6, 3 + 1), kBack);  // on the cross
  EXPECT_EQ(seen.Pixel(3, 3), picture.Pixel(0, 0));
  EXPECT_EQ(seen.Pixel(2, 3), kBack);
}

}  // namespace
}  // namespace kv
