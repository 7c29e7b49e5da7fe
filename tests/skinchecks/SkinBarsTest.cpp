// Status bars and progress bars painted whole from the skin under Wine: panels with their
// bevels and texts where their alignment puts them, the size grip, and the bar filled in
// proportion to the position, in the two-frame and the chunk style.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <tuple>

#include <commctrl.h>

#include "SkinTestFixture.h"
#include "base/win/Dc.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/RangeCtrls.h"
#include "skin/controls/SkinBars.h"
#include "skin/windows/ControlSkins.h"
#include "support/HandleCount.h"

namespace kv {
namespace {

using test::CaptureClient;
using test::CaptureWindow;
using test::PixelsMatch;
using test::PixelsMatchAt;

constexpr std::uint32_t kEmpty = 0xC03030, kFill = 0x3030C0, kChunk = 0x30A030;
// Bevel frames: lowered, raised, none; each an edge colour around an inner colour.
constexpr std::uint32_t kEdges[3] = {0x102030, 0x405060, 0x708090};
constexpr std::uint32_t kInner = 0xF0F0E0, kGrip = 0xE0E000, kPanelText = 0x000080;

class SkinBarsTest : public test::TSkinnedFormTest {
 protected:
  void UseProgress(int style) {
    auto progress = std::make_unique<TDataSkinBorder>();
    progress->Image = TPixelBitmap(16, 8, kEmpty);
    progress->Image.FillRect({8, 0, 16, 8}, kFill);
    progress->Image.FillRect({1, 1, 3, 7}, test::kMagentaPixel);  // keyed out of the empty bar
    progress->LeftWidth = progress->RightWidth = 3;
    progress->TopHeight = progress->BottomHeight = 2;
    progress->FrameCount = 2;
    progress->Style = style;
    if (style == 1) {
      progress->Image2 = TPixelBitmap(6, 4, kChunk);
      progress->Image2.FillRect({5, 0, 6, 4}, test::kMagentaPixel);  // the gap between chunks
    }
    Model().Progress = std::move(progress);
  }
  void UseStatusEdges() {
    auto edges = std::make_unique<TDataSkinObject>();
    edges->Image = TPixelBitmap(18, 6, kInner);
    for (int k = 0; k < 3; ++k) {
      edges->Image.FillRect({k * 6, 0, k * 6 + 6, 2}, kEdges[k]);
      edges->Image.FillRect({k * 6, 0, k * 6 + 2, 6}, kEdges[k]);
    }
    edges->LeftWidth = edges->TopHeight = edges->RightWidth = edges->BottomHeight = 2;
    edges->FrameCount = 3;
    edges->NormalColour2 = ColorOf(kPanelText);
    Model().StatusBarEdges = std::move(edges);
    auto extra = std::make_unique<TDataSkinObject>();
    extra->Image = TPixelBitmap(20, 4, 0x010101);
    extra->Image.FillRect({16, 0, 20, 4}, kGrip);
    extra->Image.SetPixel(16, 0, test::kMagentaPixel);
    extra->FrameCount = 5;
    Model().ExtraImages = std::move(extra);
  }
  // The bar as it should look over the face at `position` of 0..`upper`.
  TPixelBitmap ExpectedBar(int w, int h, int filledWidth) {
    const TDataSkinBorder& p = *Model().Progress;
    TPixelBitmap bar(w, h, Face());
    const TDrawFlags keyed = TDrawFlags::dfTransparent;
    if (p.Style != 1) {
      DrawSkinImage(bar, bar.Bounds(), p.Image, keyed, 2, 1, p.GetMargins());
      if (filledWidth > 0) DrawSkinImage(bar, {0, 0, filledWidth, h}, p.Image, keyed, 2, 2, p.GetMargins());
      return bar;
    }
    DrawSkinImage(bar, bar.Bounds(), p.Image, keyed, 1, 1, p.GetMargins());
    const int top = (h - p.Image2.Height()) / 2;
    // The chunks stay between the margins.
    for (int x = 0; x < std::min(filledWidth, w - p.LeftWidth - p.RightWidth); ++x)
      for (int y = 0; y < p.Image2.Height(); ++y) {
        const std::uint32_t c = p.Image2.Pixel(x % p.Image2.Width(), y);
        if (c != test::kMagentaPixel) bar.SetPixel(p.LeftWidth + x, top + y, c);
      }
    return bar;
  }
  // Left- and rightmost columns inside the bevel of `area` where the text covers the
  // panel's fill (text is smoothed: any other colour counts).
  static std::pair<int, int> TextColumns(const TPixelBitmap& shown, const RECT& area) {
    return TextSpan(shown, area, false);
  }
  // The same for the top and bottom rows.
  static std::pair<int, int> TextRows(const TPixelBitmap& shown, const RECT& area) {
    return TextSpan(shown, area, true);
  }
  static std::pair<int, int> TextSpan(const TPixelBitmap& shown, const RECT& area, bool rows) {
    int first = -1, last = -1;
    for (int y = area.top + 2; y < area.bottom - 2; ++y)
      for (int x = area.left + 2; x < area.right - 2; ++x)
        if (shown.Pixel(x, y) != kInner) {
          const int at = rows ? y : x;
          if (first < 0 || at < first) first = at;
          last = std::max(last, at);
        }
    return {first, last};
  }
  static bool HasTextColour(const TPixelBitmap& shown, const RECT& area) {
    for (int x = area.left; x < area.right; ++x)
      for (int y = area.top; y < area.bottom; ++y)
        if (shown.Pixel(x, y) == kPanelText) return true;
    return false;
  }
};

TEST_F(SkinBarsTest, FillIsProportionalToThePositionOverTheUpperLimit) {
  EXPECT_EQ(ProgressFillWidth(50, 100, 200), 100);
  EXPECT_EQ(ProgressFillWidth(0, 100, 200), 0);
  EXPECT_EQ(ProgressFillWidth(50, 0, 200), 0);
  EXPECT_EQ(ProgressFillWidth(1, 3, 200), 66) << "truncated";
  EXPECT_EQ(ProgressFillWidth(2000000, 3000000, 3000), 2000) << "no overflow on large ranges";
}

TEST_F(SkinBarsTest, TwoFrameProgressShowsTheBarAndTheFilledPart) {
  UseProgress(0);
  ShowForm();
  TWindowHandle bar = Child(PROGRESS_CLASSW, L"", 0, 10, 10, 200, 20);
  SendMessageW(bar.Get(), PBM_SETRANGE32, 0, 100);
  auto* skin = Host->Make<TSkinProgress>();
  skin->AttachWindow(bar.Get(), Data, &Canvas);
  for (int position : {0, 50, 100, 37}) {
    SendMessageW(bar.Get(), PBM_SETPOS, position, 0);
    RedrawWindow(bar.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    const TPixelBitmap shown = CaptureClient(bar.Get());
    const int filled = position * 200 / 100;
    EXPECT_TRUE(PixelsMatch(ExpectedBar(200, 20, filled), shown, "progress" + std::to_string(position)));
    if (position == 50) {
      EXPECT_EQ(shown.Pixel(99, 10), kFill);
      EXPECT_EQ(shown.Pixel(100, 10), kEmpty);
    }
    if (position == 0) {
      EXPECT_EQ(shown.Pixel(1, 5), Face()) << "magenta shows the face";
    }
  }
  // The framework's bar repaints itself when its position moves.
  TProgressBar* framework = Add<TProgressBar>(10, 50, 150, 16);
  auto* fwSkin = Host->Make<TSkinProgress>();
  fwSkin->AttachControl(framework, Data, false, &Canvas);
  framework->SetPosition(60);
  test::Pump();
  EXPECT_TRUE(PixelsMatch(ExpectedBar(150, 16, 90), CaptureClient(framework->Handle()), "progress-framework"));
}

TEST_F(SkinBarsTest, ChunkProgressRepeatsTheChunkFromTheLeftMargin) {
  UseProgress(1);
  ShowForm();
  TWindowHandle bar = Child(PROGRESS_CLASSW, L"", 0, 10, 10, 200, 20);
  SendMessageW(bar.Get(), PBM_SETRANGE32, 0, 50);
  SendMessageW(bar.Get(), PBM_SETPOS, 20, 0);
  Host->Make<TSkinProgress>()->AttachWindow(bar.Get(), Data, &Canvas);
  RedrawWindow(bar.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  const TPixelBitmap shown = CaptureClient(bar.Get());
  EXPECT_TRUE(PixelsMatch(ExpectedBar(200, 20, 80), shown, "chunks"));
  EXPECT_EQ(shown.Pixel(3, 10), kChunk);
  EXPECT_NE(shown.Pixel(8, 10), kChunk) << "the gap after the first chunk";
  // A full bar keeps its right edge.
  SendMessageW(bar.Get(), PBM_SETPOS, 50, 0);
  RedrawWindow(bar.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  const TPixelBitmap full = CaptureClient(bar.Get());
  EXPECT_TRUE(PixelsMatch(ExpectedBar(200, 20, 200), full, "chunks-full"));
  EXPECT_NE(full.Pixel(198, 10), kChunk) << "a chunk on the right edge";
  SendMessageW(bar.Get(), PBM_SETPOS, 20, 0);

  // Without a chunk picture the skin leaves the bar alone, and without any picture the
  // platform paints it.
  Model().Progress->Image2 = TPixelBitmap();
  RedrawWindow(bar.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  Model().Progress.reset();
  RedrawWindow(bar.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  TWindowHandle plain = Child(PROGRESS_CLASSW, L"", 0, 10, 40, 200, 20);
  SendMessageW(plain.Get(), PBM_SETRANGE32, 0, 50);
  SendMessageW(plain.Get(), PBM_SETPOS, 20, 0);
  UpdateWindow(plain.Get());
  EXPECT_TRUE(PixelsMatch(CaptureClient(plain.Get()), CaptureClient(bar.Get()), "progress-platform"));
}

TEST_F(SkinBarsTest, StatusPanelsShowTheirBevelsTextsAndTheGrip) {
  UseStatusEdges();
  ShowForm();
  TWindowHandle status =
      Child(STATUSCLASSNAMEW, L"", CCS_NOPARENTALIGN | CCS_NORESIZE | SBARS_SIZEGRIP, 0, 200, 320, 24);
  const int edges[3] = {100, 200, -1};
  SendMessageW(status.Get(), SB_SETPARTS, 3, reinterpret_cast<LPARAM>(edges));
  SendMessageW(status.Get(), SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(L"\tMiddle"));
  SendMessageW(status.Get(), SB_SETTEXTW, 1 | SBT_POPOUT, reinterpret_cast<LPARAM>(L""));
  SendMessageW(status.Get(), SB_SETTEXTW, 2 | SBT_NOBORDERS | SBT_RTLREADING, reinterpret_cast<LPARAM>(L"Far"));
  auto* skin = Host->Make<TSkinStatusBar>();
  skin->AttachWindow(status.Get(), Data, &Canvas);
  RedrawWindow(status.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  const TPixelBitmap shown = CaptureClient(status.Get());

  const int bevels[3] = {1, 2, 3};
  RECT last{};
  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    RECT r;
    ASSERT_TRUE(SendMessageW(status.Get(), SB_GETRECT, i, reinterpret_cast<LPARAM>(&r)));
    if (i == 2) r.right = shown.Width();
    // The bevel's edge rows, as the nine-slice render of its frame gives them.
    const TPixelBitmap bevel = RenderNineSlice(r.right - r.left, r.bottom - r.top, Model().StatusBarEdges->Image,
                                               Model().StatusBarEdges->GetMargins(), TDrawFlags::dfNone, 3, bevels[i]);
    TPixelBitmap edge(bevel.Width(), 2);
    CopyPixels(edge, 0, 0, bevel, {0, 0, bevel.Width(), 2});
    EXPECT_TRUE(PixelsMatchAt(edge, shown, {r.left, r.top, r.right, r.top + 2}, "panel" + std::to_string(i)));
    last = r;
  }
  EXPECT_EQ(shown.Pixel(shown.Width() - 20, last.top), kEdges[2]) << "the last panel reaches the right edge";

  RECT middle;
  SendMessageW(status.Get(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&middle));
  const auto [left0, right0] = TextColumns(shown, middle);
  ASSERT_GE(left0, 0);
  EXPECT_TRUE(HasTextColour(shown, middle)) << "in the skin's text colour";
  EXPECT_LE(std::abs((left0 + right0) / 2 - (middle.left + middle.right) / 2), 2) << "a tab centres it";
  const auto [left2, right2] = TextColumns(shown, last);
  ASSERT_GE(left2, 0);
  EXPECT_GT(left2, (last.left + last.right) / 2) << "right-to-left swaps left for right";
  RECT raised;
  SendMessageW(status.Get(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&raised));
  EXPECT_EQ(TextColumns(shown, raised).first, -1) << "an empty text is a space";

  // The grip's cell ends one pixel inside the corner; its magenta pixel shows the panel.
  const int gx = shown.Width() - 1 - 4, gy = shown.Height() - 1 - 4;
  EXPECT_EQ(shown.Pixel(gx + 3, gy + 3), kGrip);
  EXPECT_EQ(shown.Pixel(gx + 1, gy), kGrip);
  EXPECT_NE(shown.Pixel(gx, gy), kGrip);
  EXPECT_NE(shown.Pixel(shown.Width() - 1, shown.Height() - 1), kGrip);
}

TEST_F(SkinBarsTest, SimpleModeAndMissingEdgesFallBackAsTheyShould) {
  UseStatusEdges();
  ShowForm();
  TWindowHandle status = Child(STATUSCLASSNAMEW, L"", CCS_NOPARENTALIGN | CCS_NORESIZE, 0, 200, 320, 24);
  const int edges[2] = {100, -1};
  SendMessageW(status.Get(), SB_SETPARTS, 2, reinterpret_cast<LPARAM>(edges));
  SendMessageW(status.Get(), SB_SIMPLE, TRUE, 0);
  SendMessageW(status.Get(), SB_SETTEXTW, SB_SIMPLEID | SBT_POPOUT, reinterpret_cast<LPARAM>(L"Simple"));
  Host->Make<TSkinStatusBar>()->AttachWindow(status.Get(), Data, &Canvas);
  RedrawWindow(status.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  TPixelBitmap shown = CaptureClient(status.Get());
  EXPECT_EQ(shown.Pixel(0, 0), kEdges[0]) << "one lowered panel whatever the flags";
  EXPECT_EQ(shown.Pixel(150, 0), kEdges[0]);
  EXPECT_EQ(shown.Pixel(shown.Width() - 1, 0), kEdges[0]) << "over the whole bar";
  const auto [left, right] = TextColumns(shown, {0, 0, shown.Width(), shown.Height()});
  EXPECT_GE(left, 2);
  EXPECT_LT(left, 8) << "left-aligned";

  // Without the edges picture: a one-pixel bevel in the system colours.
  Model().StatusBarEdges.reset();
  SendMessageW(status.Get(), SB_SIMPLE, FALSE, 0);
  RedrawWindow(status.Get(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
  shown = CaptureClient(status.Get());
  const std::uint32_t shadow = PixelOf(GetSysColor(COLOR_BTNSHADOW)), light = PixelOf(GetSysColor(COLOR_BTNHIGHLIGHT));
  RECT first;
  SendMessageW(status.Get(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&first));
  EXPECT_EQ(shown.Pixel(first.left + 5, first.top), shadow);
  EXPECT_EQ(shown.Pixel(first.left, first.top + 5), shadow);
  EXPECT_EQ(shown.Pixel(first.left + 5, first.bottom - 1), light);
  EXPECT_EQ(shown.Pixel(first.right - 1, first.top + 5), light);
  EXPECT_EQ(shown.Pixel(first.left + 1, first.top + 1), Face());
}

TEST_F(SkinBarsTest, FrameworkStatusBarPanelsAndRepaintsHoldNoHandles) {
  UseStatusEdges();
  UseProgress(0);
  TStatusBar* bar = Add<TStatusBar>(0, 200, 320, 22);
  bar->SetPanels({{120, L"Ready", false}, {80, L"Right to left", true}});
  TProgressBar* progress = Add<TProgressBar>(10, 10, 200, 18);
  ShowForm();
  auto* skin = Host->Make<TSkinStatusBar>();
  skin->AttachControl(bar, Data, false, &Canvas);
  auto* progressSkin = Host->Make<TSkinProgress>();
  progressSkin->AttachControl(progress, Data, false, &Canvas);
  test::Pump();
  TPixelBitmap shown = CaptureClient(bar->Handle());
  RECT second;
  SendMessageW(bar->Handle(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&second));
  EXPECT_EQ(shown.Pixel(0, second.top), kEdges[0]);
  EXPECT_EQ(shown.Pixel(second.left, second.top), kEdges[0]);
  const auto [left, right] = TextColumns(shown, {0, second.top, 120, second.bottom});
  EXPECT_GE(left, 2);
  EXPECT_LT(left, 8);

  const test::THandleLeakCheck check;
  for (int i = 0; i < 50; ++i) {
    bar->SetPanelText(0, std::wstring(L"Step ") + std::to_wstring(i));
    progress->SetPosition(i * 2);
    test::Pump();
  }
  EXPECT_TRUE(PixelsMatch(ExpectedBar(200, 18, 98 * 200 / 100), CaptureClient(progress->Handle()), "progress-last"));
  EXPECT_TRUE(check.NothingLeaked());
}

// A bar made at 200 % has its window font made at 200 % already: the skin draws the text in
// that font, not scaled once more (which cut the text at the bar's bottom).
TEST_F(SkinBarsTest, TextOfABarAtAnotherScaleIsDrawnInItsWindowsFontAsItIs) {
  UseStatusEdges();
  TStatusBar* bar = Add<TStatusBar>(0, 160, 320, 60);
  bar->Font().SetPixelsPerInch(192);
  bar->SetPanels({{300, L"Ready", false}});
  ShowForm();
  Host->Make<TSkinStatusBar>()->AttachControl(bar, Data, false, &Canvas);
  test::Pump();
  const TPixelBitmap shown = CaptureClient(bar->Handle());
  TEXTMETRICW metrics{};
  {
    const TWindowDc dc = TWindowDc::Client(bar->Handle());
    const HGDIOBJ old = SelectObject(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(bar->Handle(), WM_GETFONT, 0, 0)));
    GetTextMetricsW(dc.Get(), &metrics);
    SelectObject(dc.Get(), old);
  }
  RECT panel;
  SendMessageW(bar->Handle(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&panel));
  const auto [top, bottom] = TextRows(shown, panel);
  ASSERT_GE(top, 0) << "no text drawn";
  EXPECT_LE(bottom - top + 1, metrics.tmHeight) << "the text is taller than the window's font";
  EXPECT_GE(bottom - top + 1, metrics.tmAscent / 2) << "the text is far smaller than the window's font";
}

// Skinning a form's status bar and panel through the form skin's classification, then
// ending it, leaves each window as it was: styles (the size grip), double buffering,
// colours and the look.
TEST_F(SkinBarsTest, DetachGivesBackTheGripTheBufferingAndTheColours) {
  UseStatusEdges();
  TStatusBar* bar = Add<TStatusBar>(0, 200, 320, 22);
  bar->SetPanels({{120, L"Ready", false}});
  TPanel* panel = Add<TPanel>(10, 10, 100, 60);
  panel->SetParentColor(true);
  ShowForm();
  const HWND wnd = bar->Handle();
  SetWindowLongPtrW(wnd, GWL_STYLE, GetWindowLongPtrW(wnd, GWL_STYLE) | SBARS_SIZEGRIP);
  struct TLook {
    LONG_PTR Style, ExStyle;
    bool Buffered, ParentColor;
    TColor Color;
  };
  const auto lookOf = [](TWinControl* c) {
    return TLook{GetWindowLongPtrW(c->Handle(), GWL_STYLE), GetWindowLongPtrW(c->Handle(), GWL_EXSTYLE),
                 c->DoubleBuffered(), c->ParentColor(), c->Color()};
  };
  const auto shown = [](HWND w) {
    RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    return CaptureWindow(w);
  };
  const TLook barBefore = lookOf(bar), panelBefore = lookOf(panel);
  const TPixelBitmap barShown = shown(wnd), panelShown = shown(panel->Handle());

  Data->SetSkinControls(TSkinControlTypes(TSkinControlTypes::kAllButFastReport));
  TComponent formSkin;
  TControlSkins skins(&formSkin, [] { return false; });
  skins.Bind(Data, &Canvas);
  skins.SkinChildren(Form);
  ASSERT_NE(skins.FindControlSkin(wnd), nullptr);
  ASSERT_NE(skins.FindControlSkin(panel->Handle()), nullptr);
  EXPECT_EQ(GetWindowLongPtrW(wnd, GWL_STYLE) & SBARS_SIZEGRIP, 0) << "skinned, the bar has no grip";
  EXPECT_FALSE(std::ranges::equal(shown(wnd).Pixels(), barShown.Pixels())) << "the skin shows";
  skins.FreeControlSkins();

  for (const auto& [control, before, picture] :
       {std::tuple<TWinControl*, TLook, TPixelBitmap>{bar, barBefore, barShown}, {panel, panelBefore, panelShown}}) {
    SCOPED_TRACE(control == bar ? "status bar" : "panel");
    const TLook after = lookOf(control);
    EXPECT_EQ(after.Style, before.Style);
    EXPECT_EQ(after.ExStyle, before.ExStyle);
    EXPECT_EQ(after.Buffered, before.Buffered);
    EXPECT_EQ(after.ParentColor, before.ParentColor);
    EXPECT_EQ(after.Color, before.Color);
    EXPECT_TRUE(PixelsMatch(picture, shown(control->Handle()), control == bar ? "bar-after" : "panel-after"));
  }
}

}  // namespace
}  // namespace kv
