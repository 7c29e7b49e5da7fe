// The skinned frame painted onto device contexts (run under Wine), from the program's own
// skin: what lands on the device must be what the portable renderers make, with the
// caption text where it was placed and nowhere else.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/win/Dc.h"
#include "base/win/Resources.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinOptions.h"
#include "skin/gdi/SkinFrameGdi.h"
#include "skin/gdi/SkinGdi.h"
#include "support/HandleCount.h"
#include "support/PixelCheck.h"

namespace kv {
namespace {

using test::PixelsMatch;
using test::PixelsMatchAt;

constexpr std::uint32_t kBack = 0x00204060;
constexpr std::uint32_t kMagenta = 0x00FF00FF;
constexpr int kW = 320, kH = 200;
constexpr std::wstring_view kLead = L"   ";  // the caption prefix and its space

// A memory device context over a screen-format bitmap, filled with kBack.
class TScreenBitmap {
 public:
  TScreenBitmap(int w, int h)
      : FW(w),
        FH(h),
        FDc(CreateCompatibleDC(TWindowDc::Screen().Get())),
        FBitmap(CreateCompatibleBitmap(TWindowDc::Screen().Get(), w, h)),
        FSelect(FDc.Get(), FBitmap.Get()) {
    CopyToDc(FDc.Get(), 0, 0, TPixelBitmap(w, h, kBack));
  }
  HDC Dc() const { return FDc.Get(); }
  TPixelBitmap Pixels() const { return ReadDcPixels(FDc.Get(), {0, 0, FW, FH}); }

 private:
  int FW, FH;
  TMemoryDc FDc;
  TBitmapHandle FBitmap;
  TSelectGuard FSelect;
};

std::string SkinContainerBytes() {
  const auto bytes = ResourceBytes(L"KORAVENTSKIN");
  return std::string(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

class SkinFrameGdi : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FModel = std::make_unique<TSkinDefinition>();
    LoadSkinModel(SkinContainerBytes(), *FModel, nullptr);
  }
  static void TearDownTestSuite() { FModel.reset(); }

  void SetUp() override {
    FSkin = FrameSkinOf(*FModel);
    ASSERT_TRUE(FSkin.Left && FSkin.Right && FSkin.Top && FSkin.Bottom && FSkin.Title) << "the skin did not load";
    ASSERT_FALSE(FSkin.Left->Image.Empty());
    ASSERT_FALSE(FSkin.Buttons.empty());
    auto per = [](int size, int frames) { return size / std::max(frames, 1); };
    FWindow.CaptionFlags = TCaptionFlags::cfSysMenu | TCaptionFlags::cfMaxBox | TCaptionFlags::cfMinBox;
    FWindow.Borders = {per(FSkin.Left->Image.Width(), FSkin.Left->FrameCount),
                       per(FSkin.Top->Image.Height(), FSkin.Top->FrameCount),
                       per(FSkin.Right->Image.Width(), FSkin.Right->FrameCount),
                       per(FSkin.Bottom->Image.Height(), FSkin.Bottom->FrameCount)};
    FWindow.Width = kW;
    FWindow.Height = kH;
    ASSERT_GT(FWindow.Borders.Top, 0);
    LOGFONTW lf{};
    lf.lfHeight = -12;
    lf.lfWeight = FW_BOLD;
    lf.lfQuality = NONANTIALIASED_QUALITY;  // text pixels in exactly the text colour
    wcscpy(lf.lfFaceName, L"Tahoma");
    FFont.Reset(CreateFontIndirectW(&lf));
    ASSERT_TRUE(FFont);
  }

  FramePainted Paint(HDC dc, std::wstring_view caption, ButtonLayout& layout) {
    return PaintSkinFrame(dc, FSkin, FModel->Colours, FWindow, caption, FFont.Get(), &FIcon, layout);
  }

  // The strip with everything but the text: the side pieces' top rows, the background
  // layer at `placement`, the buttons.
  TPixelBitmap StripWithoutText(const CaptionPlacement& placement, const ButtonLayout& layout) const {
    const Margins& b = FWindow.Borders;
    TPixelBitmap strip(kW, b.Top, kBack);
    const TPixelBitmap left = RenderBorderPiece(TFrameEdge::feLeft, b.Left, kH, *FSkin.Left, FWindow.Active);
    const TPixelBitmap right = RenderBorderPiece(TFrameEdge::feRight, b.Right, kH, *FSkin.Right, FWindow.Active);
    CopyPixels(strip, 0, 0, left, {0, 0, b.Left, b.Top});
    CopyPixels(strip, kW - b.Right, 0, right, {0, 0, b.Right, b.Top});
    DrawCaptionBackground(strip, FSkin, FWindow, placement);
    DrawCaptionButtons(strip, FSkin, FWindow, layout, &FIcon);
    return strip;
  }

  // The strip as it should be: the background layer, the text drawn the way a caption
  // is drawn (`format`), the buttons over it.
  TPixelBitmap ReferenceStrip(std::wstring_view caption, const CaptionPlacement& placement, const ButtonLayout& layout,
                              UINT format) const {
    const Margins& b = FWindow.Borders;
    TPixelBitmap strip(kW, b.Top, kBack);
    const TPixelBitmap left = RenderBorderPiece(TFrameEdge::feLeft, b.Left, kH, *FSkin.Left, FWindow.Active);
    const TPixelBitmap right = RenderBorderPiece(TFrameEdge::feRight, b.Right, kH, *FSkin.Right, FWindow.Active);
    CopyPixels(strip, 0, 0, left, {0, 0, b.Left, b.Top});
    CopyPixels(strip, kW - b.Right, 0, right, {0, 0, b.Right, b.Top});
    DrawCaptionBackground(strip, FSkin, FWindow, placement);
    TScreenBitmap device(kW, b.Top);
    CopyToDc(device.Dc(), 0, 0, strip);
    {
      const TSelectGuard font(device.Dc(), FFont.Get());
      SetBkMode(device.Dc(), TRANSPARENT);
      const TSkinColours& c = FModel->Colours;
      SetTextColor(device.Dc(), ResolveColor(FWindow.Active ? c.TitleTextActiveColour : c.TitleTextNoActiveColour));
      const std::wstring text = std::wstring(kLead) + std::wstring(caption);
      RECT r{placement.Inner.Left, placement.Inner.Top, placement.Inner.Right, placement.Inner.Bottom};
      DrawTextW(device.Dc(), text.c_str(), int(text.size()), &r, format);
    }
    strip = device.Pixels();
    DrawCaptionButtons(strip, FSkin, FWindow, layout, &FIcon);
    return strip;
  }

  static TPixelBitmap Crop(const TPixelBitmap& from, const Rect& area) {
    TPixelBitmap out(area.Width(), area.Height());
    CopyPixels(out, 0, 0, from, area);
    return out;
  }

  // How many pixels in `area` differ from `background`; `ofColour` gets how many of those
  // are exactly `colour`.
  static int Differing(const TPixelBitmap& seen, const TPixelBitmap& background, const Rect& area, std::uint32_t colour,
                       int* ofColour) {
    int count = 0;
    *ofColour = 0;
    for (int y = area.Top; y < area.Bottom; ++y)
      for (int x = area.Left; x < area.Right; ++x)
        if (seen.Pixel(x, y) != background.Pixel(x, y)) {
          ++count;
          if (seen.Pixel(x, y) == colour) ++*ofColour;
        }
    return count;
  }

  static inline std::unique_ptr<TSkinDefinition> FModel;
  FrameSkin FSkin;
  FrameWindow FWindow;
  TFontHandle FFont;
  TPixelBitmap FIcon = TPixelBitmap(16, 16, 0x0000A000);
};

constexpr UINT kCaptionFormat = DT_SINGLELINE | DT_END_ELLIPSIS;

TEST_F(SkinFrameGdi, PiecesAndCaptionAreThePortableRenderersOutput) {
  TScreenBitmap device(kW, kH);
  ButtonLayout layout;
  const FramePainted painted = Paint(device.Dc(), L"Koravent settings", layout);
  ASSERT_TRUE(painted.Painted);
  const TPixelBitmap seen = device.Pixels();
  const Margins& b = FWindow.Borders;

  EXPECT_TRUE(PixelsMatchAt(RenderBorderPiece(TFrameEdge::feLeft, b.Left, kH, *FSkin.Left, true), seen,
                            {0, 0, b.Left, kH}, "frame_left"));
  EXPECT_TRUE(PixelsMatchAt(RenderBorderPiece(TFrameEdge::feRight, b.Right, kH, *FSkin.Right, true), seen,
                            {kW - b.Right, 0, kW, kH}, "frame_right"));
  EXPECT_TRUE(
      PixelsMatchAt(RenderBorderPiece(TFrameEdge::feBottom, kW - b.Left - b.Right, b.Bottom, *FSkin.Bottom, true), seen,
                    {b.Left, kH - b.Bottom, kW - b.Right, kH}, "frame_bottom"));
  const Rect client{b.Left, b.Top, kW - b.Right, kH - b.Bottom};
  EXPECT_TRUE(PixelsMatchAt(TPixelBitmap(client.Width(), client.Height(), kBack), seen, client, "frame_client"))
      << "the frame paints nothing inside it";

  // Outside the text's rectangle the strip is background and buttons only.
  const CaptionPlacement& placement = painted.Placement;
  const TPixelBitmap shownStrip = Crop(seen, {0, 0, kW, b.Top});
  TPixelBitmap expected = StripWithoutText(placement, layout);
  CopyPixels(expected, placement.Inner.Left, placement.Inner.Top, shownStrip, placement.Inner);
  EXPECT_TRUE(PixelsMatch(expected, shownStrip, "frame_caption"));
  EXPECT_TRUE(PixelsMatch(shownStrip, painted.Caption, "frame_caption_kept")) << "the kept strip is the shown one";

  EXPECT_EQ(placement.Text.Left, b.Left + FSkin.Title->LeftWidth);
  EXPECT_LE(placement.Text.Right, kW - b.Right - FSkin.Title->RightWidth);
  int visible = 0;
  for (const ButtonPlace& place : layout.Buttons) visible += place.Visible;
  EXPECT_GE(visible, 3) << "close, maximise or restore, minimise";
  EXPECT_GT(layout.RightmostLeft, placement.Text.Right);
}

TEST_F(SkinFrameGdi, TextIsDrawnInItsRectangleUnderTheButtons) {
  for (std::wstring_view caption : {std::wstring_view(L"Koravent settings"), std::wstring_view(L"K")}) {
    TScreenBitmap device(kW, kH);
    ButtonLayout layout;
    const FramePainted painted = Paint(device.Dc(), caption, layout);
    const TPixelBitmap shown = Crop(device.Pixels(), {0, 0, kW, FWindow.Borders.Top});
    const TPixelBitmap plain = StripWithoutText(painted.Placement, layout);
    int ofColour = 0;
    EXPECT_GT(Differing(shown, plain, painted.Placement.Inner, 0, &ofColour), 4) << "some text is drawn";
    EXPECT_TRUE(PixelsMatch(ReferenceStrip(caption, painted.Placement, layout, kCaptionFormat), shown, "frame_text"));
  }
  // Only the prefix: nothing shows.
  TScreenBitmap device(kW, kH);
  ButtonLayout layout;
  const FramePainted painted = Paint(device.Dc(), L"", layout);
  EXPECT_TRUE(PixelsMatch(StripWithoutText(painted.Placement, layout),
                          Crop(device.Pixels(), {0, 0, kW, FWindow.Borders.Top}), "frame_no_text"));
}

TEST_F(SkinFrameGdi, ActiveAndInactiveTextColours) {
  const TSkinColours& c = FModel->Colours;
  const std::uint32_t active = PixelOf(ResolveColor(c.TitleTextActiveColour));
  const std::uint32_t inactive = PixelOf(ResolveColor(c.TitleTextNoActiveColour));
  ASSERT_NE(active, inactive);
  for (bool isActive : {true, false}) {
    FWindow.Active = isActive;
    TScreenBitmap device(kW, kH);
    ButtonLayout layout;
    const FramePainted painted = Paint(device.Dc(), L"Koravent settings", layout);
    const TPixelBitmap shown = Crop(device.Pixels(), {0, 0, kW, FWindow.Borders.Top});
    const TPixelBitmap plain = StripWithoutText(painted.Placement, layout);
    int ofOwn = 0, ofOther = 0;
    const int drawn = Differing(shown, plain, painted.Placement.Inner, isActive ? active : inactive, &ofOwn);
    Differing(shown, plain, painted.Placement.Inner, isActive ? inactive : active, &ofOther);
    EXPECT_GT(drawn, 4) << "active " << isActive;
    EXPECT_GT(ofOwn, drawn / 2) << "active " << isActive << ": the text is in its colour";
    EXPECT_EQ(ofOther, 0) << "active " << isActive << ": not in the other one";
  }
}

TEST_F(SkinFrameGdi, LongCaptionEndsInAnEllipsisAtTheRightClip) {
  const int clip = kW - FWindow.Borders.Right - FSkin.Title->RightWidth;
  TScreenBitmap shortDevice(kW, kH);
  ButtonLayout shortLayout;
  const FramePainted shortPaint = Paint(shortDevice.Dc(), L"Koravent", shortLayout);
  EXPECT_LT(shortPaint.Placement.Text.Right, clip);

  const std::wstring caption(L"Koravent settings - a caption far too long for the window it names");
  TScreenBitmap device(kW, kH);
  ButtonLayout layout;
  const FramePainted painted = Paint(device.Dc(), caption, layout);
  EXPECT_EQ(painted.Placement.Text.Right, clip) << "the right clip holds";
  const TPixelBitmap shown = Crop(device.Pixels(), {0, 0, kW, FWindow.Borders.Top});
  EXPECT_TRUE(PixelsMatch(ReferenceStrip(caption, painted.Placement, layout, kCaptionFormat), shown, "frame_ellipsis"));
  // Cut off plainly instead, the strip would differ: the ellipsis is what is drawn.
  const TPixelBitmap cut = ReferenceStrip(caption, painted.Placement, layout, DT_SINGLELINE);
  EXPECT_FALSE(PixelsMatch(cut, shown, "frame_no_ellipsis"));
}

TEST_F(SkinFrameGdi, GivesTheDcItsTextStateBack) {
  TScreenBitmap device(kW, kH);
  const TFontHandle own(CreateFontW(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, L"Arial"));
  const TSelectGuard select(device.Dc(), own.Get());
  SetTextColor(device.Dc(), RGB(1, 2, 3));
  SetBkColor(device.Dc(), RGB(4, 5, 6));
  SetBkMode(device.Dc(), OPAQUE);
  ButtonLayout layout;
  ASSERT_TRUE(Paint(device.Dc(), L"Koravent", layout).Painted);
  EXPECT_EQ(GetTextColor(device.Dc()), RGB(1, 2, 3));
  EXPECT_EQ(GetBkColor(device.Dc()), RGB(4, 5, 6));
  EXPECT_EQ(GetBkMode(device.Dc()), OPAQUE);
  EXPECT_EQ(GetCurrentObject(device.Dc(), OBJ_FONT), own.Get());
}

TEST_F(SkinFrameGdi, NoHandleLeaksOver200Paints) {
  TScreenBitmap device(kW, kH);
  ButtonLayout layout;
  Paint(device.Dc(), L"warm up", layout);
  const test::THandleLeakCheck check;
  for (int i = 0; i < 200; ++i) {
    FWindow.Active = i % 2 == 0;
    ASSERT_TRUE(Paint(device.Dc(), L"Koravent settings", layout).Painted);
  }
  EXPECT_TRUE(check.NothingLeaked());
}

TEST_F(SkinFrameGdi, ACaptionButtonRepaintsItselfAlone) {
  ButtonLayout layout;
  TScreenBitmap first(kW, kH);
  Paint(first.Dc(), L"Koravent", layout);
  int drawnButtons = 0;
  for (std::size_t i = 0; i < layout.Buttons.size(); ++i) {
    if (!layout.Buttons[i].Visible || FSkin.Buttons[i]->Image.Empty()) continue;
    for (TStateFlags state : {TStateFlags::csHot, TStateFlags::csPressed}) {
      TScreenBitmap device(kW, kH);
      DrawSkinCaptionButton(device.Dc(), FSkin, i, layout.Buttons[i].Bounds, state, &FIcon);
      TPixelBitmap expected(kW, kH, kBack);
      DrawCaptionButton(expected, layout.Buttons[i].Bounds, *FSkin.Buttons[i], state, &FIcon);
      EXPECT_TRUE(PixelsMatch(expected, device.Pixels(), "frame_button_" + std::to_string(i)));
    }
    ++drawnButtons;
  }
  EXPECT_GE(drawnButtons, 3);
  TScreenBitmap untouched(kW, kH);
  DrawSkinCaptionButton(untouched.Dc(), FSkin, FSkin.Buttons.size(), {0, 0, 20, 20}, TStateFlags::csHot, &FIcon);
  EXPECT_TRUE(PixelsMatch(TPixelBitmap(kW, kH, kBack), untouched.Pixels(), "frame_button_none"));
}

TEST_F(SkinFrameGdi, RegionCutsTheCornersAndCoversTheClient) {
  const Margins& b = FWindow.Borders;
  const TPixelBitmap left = RenderBorderPiece(TFrameEdge::feLeft, b.Left, kH, *FSkin.Left, true);
  ASSERT_EQ(left.Pixel(0, 0), kMagenta) << "the program's skin rounds its corners";
  ASSERT_NE(left.Pixel(0, kH / 2), kMagenta);
  TScreenBitmap device(kW, kH);
  ButtonLayout layout;
  const FramePainted painted = Paint(device.Dc(), L"Koravent", layout);
  const TRegionHandle region = BuildFrameRegion(FWindow, FSkin, &painted.Caption);
  ASSERT_TRUE(region);
  EXPECT_FALSE(PtInRegion(region.Get(), 0, 0));
  EXPECT_TRUE(PtInRegion(region.Get(), 0, kH / 2));
  EXPECT_FALSE(PtInRegion(region.Get(), kW, kH / 2)) << "nothing outside the window";

  const TRegionHandle client(CreateRectRgn(b.Left, b.Top, kW - b.Right, kH - b.Bottom));
  const TRegionHandle uncovered(CreateRectRgn(0, 0, 0, 0));
  ASSERT_TRUE(client && uncovered);
  EXPECT_EQ(CombineRgn(uncovered.Get(), client.Get(), region.Get(), RGN_DIFF), NULLREGION);

  // Every pixel of the window: inside the region exactly where the pieces are not magenta.
  const TPixelBitmap shown = device.Pixels();
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      const bool frame = x < b.Left || x >= kW - b.Right || y < b.Top || y >= kH - b.Bottom;
      const bool keyedEdge = (x < b.Left || x >= kW - b.Right || y < b.Top) ? true : FSkin.Bottom->Trans == 1;
      const bool expectedIn = !frame || !keyedEdge || shown.Pixel(x, y) != kMagenta;
      ASSERT_EQ(bool(PtInRegion(region.Get(), x, y)), expectedIn) << x << "," << y;
    }
}

// A solid icon of one colour, 16 x 16.
TIconHandle SolidIcon(std::uint32_t pixel) {
  std::vector<std::uint32_t> colour(16 * 16, pixel);
  std::vector<std::uint8_t> mask(16 * 16 / 8, 0);  // all opaque
  const TBitmapHandle colourBits(CreateBitmap(16, 16, 1, 32, colour.data()));
  const TBitmapHandle maskBits(CreateBitmap(16, 16, 1, 1, mask.data()));
  ICONINFO info{TRUE, 0, 0, maskBits.Get(), colourBits.Get()};
  return TIconHandle(CreateIconIndirect(&info));
}

bool AllOf(const TPixelBitmap& b, std::uint32_t pixel) {
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      if (b.Pixel(x, y) != pixel) return false;
  return true;
}

TEST(SkinFrameIcon, TheSmallIconElseTheBigOneElseMagenta) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KvFrameIconTest";
  RegisterClassW(&wc);
  const TIconHandle big = SolidIcon(0x00336699);
  const TIconHandle small = SolidIcon(0x0000C000);
  ASSERT_TRUE(big && small);
  const TWindowHandle window(
      CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr, wc.hInstance, nullptr));
  ASSERT_TRUE(window);
  const int w = GetSystemMetrics(SM_CXSMICON), h = GetSystemMetrics(SM_CYSMICON);

  const TPixelBitmap none = BuildIconBitmap(window.Get());
  EXPECT_EQ(none.Width(), w);
  EXPECT_EQ(none.Height(), h);
  EXPECT_TRUE(AllOf(none, kMagenta));

  SendMessageW(window.Get(), WM_SETICON, ICON_BIG, LPARAM(big.Get()));
  const TPixelBitmap bigOnly = BuildIconBitmap(window.Get());
  EXPECT_EQ(bigOnly.Width(), w);
  EXPECT_TRUE(AllOf(bigOnly, 0x00336699)) << "the big icon when there is no small one";

  SendMessageW(window.Get(), WM_SETICON, ICON_SMALL, LPARAM(small.Get()));
  EXPECT_TRUE(AllOf(BuildIconBitmap(window.Get()), 0x0000C000)) << "the small icon first";
}

// The program's own icon has soft edges (32-bit, with alpha): none of them may end up as
// a blend with the magenta key, which would show as a purple fringe.
TEST(SkinFrameIcon, SoftEdgesShowNoMagentaFringe) {
  const TIconHandle icon(
      static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), L"KORAVENTICON", IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
  ASSERT_TRUE(icon);
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"KvFrameSoftIconTest";
  RegisterClassW(&wc);
  const TWindowHandle window(
      CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 40, 30, nullptr, nullptr, wc.hInstance, nullptr));
  SendMessageW(window.Get(), WM_SETICON, ICON_SMALL, LPARAM(icon.Get()));
  const TPixelBitmap shown = BuildIconBitmap(window.Get());
  int keyed = 0, fringe = 0;
  for (int y = 0; y < shown.Height(); ++y)
    for (int x = 0; x < shown.Width(); ++x) {
      const std::uint32_t p = shown.Pixel(x, y);
      const int r = int(p >> 16) & 0xFF, g = int(p >> 8) & 0xFF, b = int(p) & 0xFF;
      if (p == kMagenta)
        ++keyed;
      else if (r > g + 0x30 && b > g + 0x30 && r > 0x50)
        ++fringe;
    }
  EXPECT_EQ(fringe, 0);
  EXPECT_LT(keyed, shown.Width() * shown.Height() / 2) << "the icon is there";
}

}  // namespace
}  // namespace kv
