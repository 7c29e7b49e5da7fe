// Menu items measured and painted from the skin onto real device contexts, read back as
// pixels: the background when no popup shows the menu, check marks with and without an
// image, the disabled colours, separators, and texts read from platform menus.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <set>

#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "skin/gdi/SkinGdi.h"
#include "skin/menus/SkinMenuItems.h"
#include "skinforms/SkinFormFixture.h"

namespace kv::test {
namespace {

std::uint32_t SysPixel(int index) { return PixelOf(GetSysColor(index)); }

class TSkinMenuItemsTest : public TSkinFormTest {
 protected:
  void SetUp() override {
    TSkinFormTest::SetUp();
    Data = AddSkinData();
    Context.Data = Data;
    Menu = Host->Make<TPopupMenu>();
  }
  TSkinColours& Colours() { return Data->Model().Colours; }
  // The pixels of a work bitmap.
  static TPixelBitmap Pixels(TBitmap& bitmap) {
    return ReadDcPixels(bitmap.Canvas().Handle(), {0, 0, bitmap.Width(), bitmap.Height()});
  }
  // Every colour that appears inside `area`.
  static std::set<std::uint32_t> ColoursIn(const TPixelBitmap& pixels, const Rect& area) {
    std::set<std::uint32_t> seen;
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x) seen.insert(pixels.Pixel(x, y));
    return seen;
  }

  TSkinData* Data = nullptr;
  TMenuSkinContext Context;
  TPopupMenu* Menu = nullptr;
};

TEST_F(TSkinMenuItemsTest, ItemWithoutPopupBackgroundShowsMenuColourThroughItsPicture) {
  TSkinDefinition& model = Data->Model();
  TPixelBitmap strip(100, 20, 0x10A010);
  strip.FillRect({5, 5, 15, 15}, 0xFF00FF);  // magenta middle of frame 1
  model.MenuItem->Image = strip;
  model.MenuItem->Trans = 1;
  model.MenuItem->LeftWidth = model.MenuItem->RightWidth = 4;
  model.MenuItem->TopHeight = model.MenuItem->BottomHeight = 4;
  Colours().MenuColour = 0x00336699;  // BBGGRR
  TMenuItem* item = Menu->Items()->Add(L"");
  TBitmap target(80, 20);
  DrawMenuItem(Context, item, target.Canvas(), false, {0, 0, 80, 20});
  const TPixelBitmap pixels = Pixels(target);
  EXPECT_EQ(pixels.Pixel(40, 10), 0x996633u) << "magenta shows the menu colour";
  EXPECT_EQ(pixels.Pixel(1, 1), 0x10A010u);
  EXPECT_EQ(pixels.Pixel(78, 18), 0x10A010u);
}

TEST_F(TSkinMenuItemsTest, PlainItemsFillWithHighlightOrMenuColour) {
  Data->Model().MenuItem->Image = {};
  Colours().MenuColour = 0x00112233;
  Colours().HilightColour = 0x00445566;
  TMenuItem* item = Menu->Items()->Add(L"");
  TBitmap target(60, 18);
  DrawMenuItem(Context, item, target.Canvas(), false, {0, 0, 60, 18});
  EXPECT_EQ(Pixels(target).Pixel(50, 9), 0x332211u);
  DrawMenuItem(Context, item, target.Canvas(), true, {0, 0, 60, 18});
  EXPECT_EQ(Pixels(target).Pixel(50, 9), 0x665544u);
}

TEST_F(TSkinMenuItemsTest, CheckedItemsShowCheckMarkOrImageOnSunkenDither) {
  Data->Model().MenuItem->Image = {};
  Colours().MenuColour = 0x00FFFFFF;
  const int left = 1;  // glyph box at (1, 1), 16 x 16, without a MenuItem margin
  TMenuItem* checked = Menu->Items()->Add(L"");
  checked->SetChecked(true);
  TBitmap target(80, 20);
  DrawMenuItemContent(Context, checked, target.Canvas(), false, {0, 0, 80, 20});
  const TPixelBitmap mark = Pixels(target);
  EXPECT_TRUE(ColoursIn(mark, {left, 1, left + 16, 17}).count(SysPixel(COLOR_BTNTEXT)))
      << "the check mark in the button-text colour";
  EXPECT_EQ(ColoursIn(mark, {left + 16, 0, 80, 20}).size(), 1u) << "nothing outside the glyph box";

  // With an image: dithered face and highlight, sunken edge, the image over it.
  auto* images = Host->Make<TImageList>(16, 16);
  TBitmap glyph(16, 16);
  glyph.Canvas().Brush().SetColor(clFuchsia);
  glyph.Canvas().FillRect({0, 0, 16, 16});
  glyph.Canvas().Brush().SetColor(0x0000FF);  // red
  glyph.Canvas().FillRect({6, 6, 10, 10});
  images->Add(glyph, clFuchsia);
  Menu->SetImages(images);
  checked->SetImageIndex(0);
  TBitmap second(80, 20);
  second.Canvas().Brush().SetColor(clWhite);
  second.Canvas().FillRect({0, 0, 80, 20});
  DrawMenuItemContent(Context, checked, second.Canvas(), false, {0, 0, 80, 20});
  const TPixelBitmap image = Pixels(second);
  EXPECT_EQ(image.Pixel(left + 7, 8), 0xFF0000u) << "the image";
  EXPECT_EQ(image.Pixel(left, 1), SysPixel(COLOR_BTNSHADOW)) << "sunken edge, top left";
  EXPECT_EQ(image.Pixel(left + 15, 16), SysPixel(COLOR_BTNHIGHLIGHT)) << "sunken edge, bottom right";
  const std::set<std::uint32_t> dither = ColoursIn(image, {left + 2, 3, left + 5, 5});
  EXPECT_TRUE(dither.count(SysPixel(COLOR_BTNFACE)));
  EXPECT_TRUE(dither.count(SysPixel(COLOR_BTNHIGHLIGHT)));
  EXPECT_FALSE(ColoursIn(image, {left, 1, left + 16, 17}).count(SysPixel(COLOR_BTNTEXT)) &&
               SysPixel(COLOR_BTNTEXT) != SysPixel(COLOR_BTNSHADOW))
      << "no check mark with an image";
}

TEST_F(TSkinMenuItemsTest, TextColoursFollowStateAndTheDisabledRule) {
  TMenuItem* item = Menu->Items()->Add(L"WWW");
  Colours().MenuTextColour = 0x00000000;
  Colours().ButtonShadowColour = 0x000000C0;  // red, BBGGRR
  Colours().HilightTextColour = 0x0000C000;   // green
  // Large enough for strokes of whole pixels: the text's own colour appears unmixed.
  auto draw = [&](bool selected) {
    TBitmap target(200, 60);
    target.Canvas().Brush().SetColor(clWhite);
    target.Canvas().FillRect({0, 0, 200, 60});
    AssignMenuFont(target.Canvas().Font());
    target.Canvas().Font().SetHeight(-40);
    RECT r{0, 0, 200, 60};
    DrawMenuItemText(Context, item, target.Canvas(), DT_SINGLELINE | DT_VCENTER, selected, r, item->Caption());
    return ColoursIn(Pixels(target), {0, 0, 200, 60});
  };
  EXPECT_TRUE(draw(false).count(0x000000u)) << "enabled: menu text";
  EXPECT_TRUE(draw(true).count(0x00C000u)) << "selected: highlight text";
  item->SetEnabled(false);
  std::set<std::uint32_t> seen = draw(false);
  EXPECT_TRUE(seen.count(0xC00000u)) << "disabled: the skin's shadow colour";
  EXPECT_FALSE(seen.count(0x000000u));
  EXPECT_TRUE(draw(true).count(0xC00000u)) << "disabled and selected alike";
  Colours().ButtonShadowColour = Colours().MenuTextColour;
  seen = draw(false);
  EXPECT_TRUE(seen.count(SysPixel(COLOR_BTNSHADOW))) << "the platform's shadow colour instead";
  EXPECT_FALSE(seen.count(0x000000u));
}

TEST_F(TSkinMenuItemsTest, SeparatorKeepsItsEndsAndLeavesMagentaOut) {
  TSkinDefinition& model = Data->Model();
  TPixelBitmap strip(100, 10, 0x808080);
  strip.FillRect({20, 0, 40, 10}, 0x0000FF);  // frame 2: blue
  strip.FillRect({20, 0, 22, 10}, 0x00FF00);  // its left end green
  strip.FillRect({38, 0, 40, 10}, 0xFF0000);  // its right end red
  strip.FillRect({20, 0, 40, 4}, 0xFF00FF);   // the top rows magenta
  model.MenuItem->Image = strip;
  model.MenuItem->LeftWidth = model.MenuItem->RightWidth = 2;
  TBitmap target(100, 8);
  target.Canvas().Brush().SetColor(clWhite);
  target.Canvas().FillRect({0, 0, 100, 8});
  DrawMenuSeparator(Context, target.Canvas(), {0, 0, 100, 8});
  const TPixelBitmap pixels = Pixels(target);
  // The bottom 8 of 10 rows: 2 magenta rows (left out), then 6 coloured.
  EXPECT_EQ(pixels.Pixel(50, 0), 0xFFFFFFu);
  EXPECT_EQ(pixels.Pixel(50, 1), 0xFFFFFFu);
  EXPECT_EQ(pixels.Pixel(0, 5), 0x00FF00u);
  EXPECT_EQ(pixels.Pixel(1, 5), 0x00FF00u);
  EXPECT_EQ(pixels.Pixel(50, 5), 0x0000FFu);
  EXPECT_EQ(pixels.Pixel(99, 5), 0xFF0000u);
}

TEST_F(TSkinMenuItemsTest, PlatformItemsMeasureByTextSeparatorsEightAtTheMenusScale) {
  TMenuHandle menu(CreatePopupMenu());
  AppendMenuW(menu.Get(), MF_STRING, 5, L"Hello");
  AppendMenuW(menu.Get(), MF_SEPARATOR, 6, nullptr);
  const int left = Data->Model().MenuItem->Image.Empty() ? 0 : Data->Model().MenuItem->LeftWidth;
  // The room around the text and the separator's height are 96-DPI lengths.
  for (const int dpi : {96, 192}) {
    Context.Dpi = dpi;
    TBitmap scratch(10, 10);
    AssignMenuFont(scratch.Canvas().Font(), false, dpi);
    const int textWidth = scratch.Canvas().TextExtent(L"Hello").cx;
    int width = 0, height = 15;
    MeasurePlatformMenuItem(Context, menu.Get(), 5, scratch.Canvas(), width, height);
    EXPECT_EQ(width, textWidth + MulDiv(26, dpi, 96) + left) << dpi;
    EXPECT_EQ(height, 15 + MulDiv(4, dpi, 96)) << dpi;
    height = 15;
    MeasurePlatformMenuItem(Context, menu.Get(), 6, scratch.Canvas(), width, height);
    EXPECT_EQ(height, MulDiv(8, dpi, 96)) << dpi;
  }
  Context.Dpi = 96;

  const std::unique_ptr<TMenuItem> line = MenuItemFromPlatform(menu.Get(), 6);
  EXPECT_TRUE(line->IsLine());
  EnableMenuItem(menu.Get(), 5, MF_BYCOMMAND | MF_GRAYED);
  CheckMenuItem(menu.Get(), 5, MF_BYCOMMAND | MF_CHECKED);
  const std::unique_ptr<TMenuItem> hello = MenuItemFromPlatform(menu.Get(), 5);
  EXPECT_EQ(hello->Caption(), L"Hello");
  EXPECT_FALSE(hello->Enabled());
  EXPECT_TRUE(hello->Checked());
}

TEST_F(TSkinMenuItemsTest, LongChineseTextIsCutWithoutBreakingACharacter) {
  std::wstring chinese;
  for (int i = 0; i < 50; ++i) chinese += L"\u8BBE";  // 100 bytes in the Chinese code page
  TMenuHandle menu(CreatePopupMenu());
  AppendMenuW(menu.Get(), MF_STRING, 7, chinese.c_str());
  AppendMenuW(menu.Get(), MF_STRING, 8, std::wstring(100, L'a').c_str());
  // An 80-byte buffer with its terminating zero: 39 double-byte or 79 single-byte characters.
  EXPECT_EQ(ReadMenuText(menu.Get(), 7), chinese.substr(0, 39));
  EXPECT_EQ(ReadMenuText(menu.Get(), 1, MF_BYPOSITION), std::wstring(79, L'a'));

  EXPECT_EQ(CutToByteLimit(std::wstring(79, L'a') + L"\u8BBE", 80), std::wstring(79, L'a'));
  EXPECT_EQ(CutToByteLimit(std::wstring(78, L'a') + L"\u8BBE", 80), std::wstring(78, L'a') + L"\u8BBE");
  const std::wstring pair = L"\xD840\xDC0B";  // one character outside the basic plane
  EXPECT_EQ(CutToByteLimit(std::wstring(77, L'a') + pair, 80), std::wstring(77, L'a'));
  EXPECT_EQ(CutToByteLimit(std::wstring(76, L'a') + pair, 80), std::wstring(76, L'a') + pair);
  EXPECT_EQ(CutToByteLimit(L"short", 80), L"short");
}

}  // namespace
}  // namespace kv::test
