// Scroll bars skinned on real windows under Wine. A panel given scroll bars of its own
// (the platform draws and tracks them; nothing in the panel moves them) carries the
// non-client bars; a framework scroll-bar control the stand-alone one. Every skin picture
// is a strip of plain cells in colours of their own, so what a bar shows is read back
// pixel by pixel. Drags are driven by mouse messages posted as the system would post
// them, with the real cursor put where the press is.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "SkinTestFixture.h"
#include "framework/ListCtrls.h"
#include "framework/RangeCtrls.h"
#include "skin/controls/SkinScrollBars.h"
#include "skin/windows/ControlSkins.h"
#include "support/HandleCount.h"

namespace kv {
namespace {

using test::CaptureWindow;
using test::PixelsMatchAt;

constexpr std::uint32_t kBarColour = 0x808000;
const std::vector<std::uint32_t> kTrackV{0x30C030, 0x30C060, 0x30C090, 0x30C0C0};
const std::vector<std::uint32_t> kTrackH{0xC0C030, 0xC0C060, 0xC0C090, 0xC0C0C0};
const std::vector<std::uint32_t> kThumbV{0x2040F0, 0x20F0F0, 0x204040};
const std::vector<std::uint32_t> kThumbH{0xF04020, 0xF0F020, 0x404020};

// Frame k (from 1) of the arrow strip.
std::uint32_t ArrowColour(int k) { return 0x200040u | (std::uint32_t(k) * 9u) << 8; }
std::vector<std::uint32_t> ArrowColours() {
  std::vector<std::uint32_t> colours;
  for (int k = 1; k <= 23; ++k) colours.push_back(ArrowColour(k));
  return colours;
}

TPixelBitmap PlainStrip(int w, int h, const std::vector<std::uint32_t>& colours) {
  TPixelBitmap strip(int(colours.size()) * w, h, 0);
  for (std::size_t k = 0; k < colours.size(); ++k) strip.FillRect({int(k) * w, 0, int(k + 1) * w, h}, colours[k]);
  return strip;
}

// A vertical bar of 0..99, page 10, at 45: thumb 17 long, 76 below the first arrow.
void SetBar(HWND wnd, int bar, int min, int max, int page, int position) {
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, min, max, UINT(page), position, 0};
  SetScrollInfo(wnd, bar, &info, TRUE);
}

// What happened at each scroll message the control got: code, the position it carried,
// the bar's position and the window as it looked once the skin had repainted.
struct TScrollSeen {
  int Code;
  int Position;
  int BarPosition;
  TPixelBitmap Shown;
};

// Timers run inside whatever loop is waiting (the drag's too): a step scheduled here runs
// there. A second, late timer is the test's way out should a drag never end.
std::function<void()> gStep;
std::atomic<bool> gFallbackUsed{false};
HWND gFallbackWindow = nullptr;
void CALLBACK StepTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (auto step = std::exchange(gStep, nullptr)) step();
}
void CALLBACK FallbackTimer(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  gFallbackUsed = true;
  if (IsWindow(gFallbackWindow)) PostMessageW(gFallbackWindow, WM_LBUTTONUP, 0, 0);
}

class SkinScrollTest : public test::TSkinnedFormTest {
 protected:
  void SetUp() override {
    TSkinnedFormTest::SetUp();
    auto arrows = std::make_unique<TDataSkinObject>();
    arrows->Image = test::CellStrip(23, 16, 16, ArrowColours());
    arrows->Trans = 1;
    Model().Scrollbar = std::move(arrows);
    auto trackV = std::make_unique<TDataSkinObject>();
    trackV->Image = PlainStrip(16, 16, kTrackV);
    Model().VertScroll = std::move(trackV);
    auto trackH = std::make_unique<TDataSkinObject>();
    trackH->Image = PlainStrip(16, 16, kTrackH);
    Model().HorzScroll = std::move(trackH);
    auto thumbV = std::make_unique<TDataSkinObject>();
    thumbV->Image = PlainStrip(16, 16, kThumbV);
    thumbV->FrameCount = 3;
    Model().VertScrollThumb = std::move(thumbV);
    auto thumbH = std::make_unique<TDataSkinObject>();
    thumbH->Image = PlainStrip(16, 16, kThumbH);
    thumbH->FrameCount = 3;
    Model().HorzScrollThumb = std::move(thumbH);
    Model().Colours.ScrollbarColour = ColorOf(kBarColour);
    gStep = nullptr;
    gFallbackUsed = false;
    // Wine's bars are 17 wide; the pictures here are drawn for 16 (for this process only).
    FMetrics.cbSize = sizeof(FMetrics);
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(FMetrics), &FMetrics, 0);
    NONCLIENTMETRICSW metrics = FMetrics;
    metrics.iScrollWidth = metrics.iScrollHeight = 16;
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    ASSERT_EQ(GetSystemMetrics(SM_CXHSCROLL), 16) << "the expected pictures assume 16-pixel arrows";
  }
  void TearDown() override {
    if (FFallback) KillTimer(nullptr, FFallback);
    gStep = nullptr;
    TSkinnedFormTest::TearDown();
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(FMetrics), &FMetrics, 0);
  }

  // A panel with scroll bars of its own, skinned.
  // `scrolls`: the panel steps its vertical position on line codes, as a scrolling
  // control does (the bar redrawn the platform's way as the position is set).
  TSkinScrollBar* BarPanel(int w, int h, bool vertical, bool horizontal, bool handleClicks = true,
                           bool scrolls = false) {
    ShowForm();
    Panel = Add<TPanel>(10, 10, w, h);
    Panel->SetFlat(true);
    const HWND wnd = Panel->Handle();
    if (scrolls)
      Panel->HookWindowProc([wnd](TMessage& m, TDefaultProc callDefault) {
        callDefault(m);
        if (m.Msg != WM_VSCROLL) return;
        const int step = LOWORD(m.WParam) == SB_LINEDOWN ? 1 : LOWORD(m.WParam) == SB_LINEUP ? -1 : 0;
        if (step) SetScrollPos(wnd, SB_VERT, GetScrollPos(wnd, SB_VERT) + step, TRUE);
      });
    if (vertical) SetBar(wnd, SB_VERT, 0, 99, 10, 45);
    if (horizontal) SetBar(wnd, SB_HORZ, 0, 99, 10, 45);
    auto* skin = Host->Make<TSkinScrollBar>();
    skin->AttachScrollBars(Panel, Data, handleClicks, &Canvas);
    Repaint(wnd);
    return skin;
  }
  static void Repaint(HWND wnd) {
    RedrawWindow(wnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    test::Pump();
  }
  // Records every scroll message `control` gets, after the skin has handled it.
  void RecordScrolls(TControl& control, UINT msg) {
    control.HookWindowProc([this, &control, msg](TMessage& m, TDefaultProc callDefault) {
      callDefault(m);
      if (m.Msg != msg) return;
      const HWND wnd = static_cast<TWinControl&>(control).Handle();
      const bool own = msg == WM_VSCROLL || msg == WM_HSCROLL;
      const int barPosition =
          own ? GetScrollPos(wnd, msg == WM_VSCROLL ? SB_VERT : SB_HORZ) : static_cast<TScrollBar&>(control).Position();
      Seen.push_back({LOWORD(m.WParam), short(HIWORD(m.WParam)), barPosition, CaptureWindow(wnd)});
    });
  }
  std::vector<int> Codes() const {
    std::vector<int> codes;
    for (const TScrollSeen& s : Seen) codes.push_back(s.Code);
    return codes;
  }

  // The bar as it should look, 16 thick: arrows showing frames `first` and `second` (their
  // magenta middles the bar colour), the track, the thumb in frame `thumbFrame`.
  static TPixelBitmap ExpectedBar(bool vertical, int length, int thumbStart, int thumbLength, int thumbFrame, int first,
                                  int second) {
    TPixelBitmap bar(vertical ? 16 : length, vertical ? length : 16, kBarColour);
    const auto along = [&](int from, int to, std::uint32_t c) {
      bar.FillRect(vertical ? Rect{0, from, 16, to} : Rect{from, 0, to, 16}, c);
    };
    along(16, length - 16, vertical ? kTrackV[0] : kTrackH[0]);
    along(0, 16, ArrowColour(first));
    along(length - 16, length, ArrowColour(second));
    for (const int start : {0, length - 16})
      bar.FillRect(vertical ? Rect{7, start + 7, 9, start + 9} : Rect{start + 7, 7, start + 9, 9}, kBarColour);
    if (thumbLength > 0)
      along(thumbStart, thumbStart + thumbLength, (vertical ? kThumbV : kThumbH)[std::size_t(thumbFrame - 1)]);
    return bar;
  }
  static Rect Area(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

  // The real cursor to `s` (screen), waiting until Wine has stopped echoing the warp.
  static void CursorAt(POINT s) {
    int steady = 0;
    for (int i = 0; i < 200 && steady < 5; ++i) {
      POINT now{};
      GetCursorPos(&now);
      if (now.x == s.x && now.y == s.y) {
        ++steady;
      } else {
        steady = 0;
        SetCursorPos(s.x, s.y);
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      test::Pump();
    }
  }
  static POINT ScreenOf(HWND wnd, POINT windowPoint) {
    RECT w;
    GetWindowRect(wnd, &w);
    return {w.left + windowPoint.x, w.top + windowPoint.y};
  }
  static LPARAM ClientParam(HWND wnd, POINT windowPoint) {
    POINT p = ScreenOf(wnd, windowPoint);
    ScreenToClient(wnd, &p);
    return MAKELPARAM(p.x, p.y);
  }
  // A press on a bar at a window point; the real cursor is put there first, so that a
  // move Wine makes up from it moves nothing.
  static void Press(HWND wnd, WPARAM hit, POINT windowPoint) {
    const POINT s = ScreenOf(wnd, windowPoint);
    CursorAt(s);
    PostMessageW(wnd, WM_NCLBUTTONDOWN, hit, MAKELPARAM(s.x, s.y));
  }
  static void MoveTo(HWND wnd, POINT windowPoint) {
    PostMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, ClientParam(wnd, windowPoint));
  }
  static void Release(HWND wnd, POINT windowPoint) {
    PostMessageW(wnd, WM_LBUTTONUP, 0, ClientParam(wnd, windowPoint));
  }
  // A press whose drag only ends by what `step` does (run from inside the drag); the
  // fallback releases it after 3 s.
  void PressAndThen(HWND wnd, POINT windowPoint, std::function<void()> step) {
    const POINT s = ScreenOf(wnd, windowPoint);
    CursorAt(s);
    gFallbackWindow = wnd;
    FFallback = SetTimer(nullptr, 0, 3000, FallbackTimer);
    gStep = std::move(step);
    SetTimer(nullptr, 0, 20, StepTimer);
    PostMessageW(wnd, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(s.x, s.y));
    test::Pump();
  }

  TPanel* Panel = nullptr;
  std::vector<TScrollSeen> Seen;
  UINT_PTR FFallback = 0;
  NONCLIENTMETRICSW FMetrics{};
};

TEST_F(SkinScrollTest, VerticalBarOfTwoHundredPixelsPlacesItsThumbByTheRange) {
  TSkinScrollBar* skin = BarPanel(100, 200, true, false);
  const HWND wnd = Panel->Handle();
  EXPECT_EQ(skin->Geometry(1).TrackLength, 168);
  EXPECT_EQ(skin->Geometry(1).ThumbLength, 17) << "168 x 10 / 99, rounded";
  EXPECT_EQ(skin->Geometry(1).ThumbOffset, 76) << "45 x 151 / 89, rounded";
  const RECT bar = skin->BarRect(1);
  EXPECT_EQ(bar.left, 84);
  EXPECT_EQ(bar.bottom - bar.top, 200);
  const TPixelBitmap shown = CaptureWindow(wnd);
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(true, 200, 92, 17, 1, 9, 13), shown, Area(bar), "vbar200"));
  // A print of the window shows the same bar.
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(true, 200, 92, 17, 1, 9, 13), test::PrintedWindow(wnd, false), Area(bar),
                            "vbar200-printed"));
  // The hit codes along the bar, edge by edge.
  EXPECT_EQ(skin->HitTest(15, 1), shLineBack);
  EXPECT_EQ(skin->HitTest(16, 1), shPageBack);
  EXPECT_EQ(skin->HitTest(91, 1), shPageBack);
  EXPECT_EQ(skin->HitTest(92, 1), shThumb);
  EXPECT_EQ(skin->HitTest(108, 1), shThumb);
  EXPECT_EQ(skin->HitTest(109, 1), shPageForward);
  EXPECT_EQ(skin->HitTest(183, 1), shPageForward);
  EXPECT_EQ(skin->HitTest(184, 1), shLineForward);
  EXPECT_EQ(skin->HitTest(200, 1), shNowhere);
}

TEST_F(SkinScrollTest, BarShorterThanTwoArrowsSharesItsLengthBetweenThem) {
  TSkinScrollBar* skin = BarPanel(100, 20, true, false);
  const TPixelBitmap shown = CaptureWindow(Panel->Handle());
  const RECT bar = skin->BarRect(1);
  ASSERT_EQ(bar.bottom - bar.top, 20);
  EXPECT_EQ(shown.Pixel(bar.left + 2, 2), ArrowColour(9));
  EXPECT_EQ(shown.Pixel(bar.left + 2, 9), ArrowColour(9));
  EXPECT_EQ(shown.Pixel(bar.left + 2, 10), ArrowColour(13));
  EXPECT_EQ(shown.Pixel(bar.left + 13, 17), ArrowColour(13));
  for (int y = 0; y < 20; ++y)
    for (int x = bar.left; x < bar.right; ++x) {
      const std::uint32_t p = shown.Pixel(x, y);
      ASSERT_TRUE(p == ArrowColour(9) || p == ArrowColour(13) || p == kBarColour) << x << "," << y;
    }
}

TEST_F(SkinScrollTest, BothBarsFillTheSizeBoxWithTheFaceColour) {
  TSkinScrollBar* skin = BarPanel(150, 120, true, true);
  const TPixelBitmap shown = CaptureWindow(Panel->Handle());
  const RECT corner = skin->Corner();
  EXPECT_EQ(Area(corner).Width(), 16);
  EXPECT_EQ(Area(corner).Height(), 16);
  EXPECT_EQ(corner.right, 150);
  for (int y = corner.top; y < corner.bottom; ++y)
    for (int x = corner.left; x < corner.right; ++x) ASSERT_EQ(shown.Pixel(x, y), Face()) << x << "," << y;
  // Horizontal: 134 long, track 102, thumb 102 x 10 / 99 = 10, offset 45 x 92 / 89 = 47.
  const RECT horizontal = skin->BarRect(0);
  EXPECT_EQ(Area(horizontal).Width(), 134);
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(false, 134, 16 + 47, 10, 1, 1, 5), shown, Area(horizontal), "hbar"));
  // Vertical: 104 long, track 72, thumb 8 (the least), offset 45 x 64 / 89 = 32.
  const RECT vertical = skin->BarRect(1);
  EXPECT_EQ(Area(vertical).Height(), 104);
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(true, 104, 16 + 32, 8, 1, 9, 13), shown, Area(vertical), "vbar"));
}

TEST_F(SkinScrollTest, BarsOnTheLeftAndInsideABorder) {
  ShowForm();
  Panel = Add<TPanel>(10, 10, 150, 120);
  const HWND wnd = Panel->Handle();
  SetWindowLongPtrW(wnd, GWL_EXSTYLE, GetWindowLongPtrW(wnd, GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR | WS_EX_CLIENTEDGE);
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
  SetBar(wnd, SB_VERT, 0, 99, 10, 0);
  auto* skin = Host->Make<TSkinScrollBar>();
  skin->AttachScrollBars(Panel, Data, true, &Canvas);
  Repaint(wnd);
  const RECT bar = skin->BarRect(1);
  EXPECT_EQ(bar.left, 2) << "the client edge is outside the bar";
  EXPECT_EQ(bar.top, 2);
  EXPECT_EQ(bar.bottom, 118);
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(true, 116, 16, 8, 1, 9, 13), CaptureWindow(wnd), Area(bar), "leftbar"));
}

TEST_F(SkinScrollTest, DraggingPastBothEndsStopsAtTheLastPageAndAtTheMinimum) {
  TSkinScrollBar* skin = BarPanel(100, 200, true, false);
  const HWND wnd = Panel->Handle();
  RecordScrolls(*Panel, WM_VSCROLL);
  const RECT bar = skin->BarRect(1);
  const POINT thumb{bar.left + 8, 100};
  Press(wnd, HTVSCROLL, thumb);
  MoveTo(wnd, {thumb.x, thumb.y + 10});
  MoveTo(wnd, {thumb.x + 40, thumb.y + 300});  // far below and beside the bar
  MoveTo(wnd, {thumb.x, thumb.y - 300});
  Release(wnd, {thumb.x, thumb.y - 300});
  test::Pump();
  EXPECT_FALSE(skin->Dragging());
  ASSERT_EQ(Codes(), (std::vector<int>{SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}));
  // Ten pixels down: offset 86 of 168 is position 51.
  EXPECT_EQ(Seen[0].Position, 51);
  EXPECT_EQ(Seen[0].BarPosition, 51);
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(true, 200, 16 + 86, 17, 2, 9, 13), Seen[0].Shown, Area(bar), "drag-10"));
  // Past the end: maximum - page + 1, the thumb at the end of the track, pressed.
  EXPECT_EQ(Seen[1].Position, 90);
  EXPECT_EQ(Seen[1].BarPosition, 90);
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(true, 200, 16 + 151, 17, 2, 9, 13), Seen[1].Shown, Area(bar), "drag-end"));
  // Before the start: the minimum.
  EXPECT_EQ(Seen[2].Position, 0);
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(true, 200, 16, 17, 2, 9, 13), Seen[2].Shown, Area(bar), "drag-start"));
  EXPECT_EQ(Seen[3].Position, 0);
  EXPECT_EQ(GetScrollPos(wnd, SB_VERT), 0);
  // Released: the thumb in its normal frame where the position puts it.
  EXPECT_EQ(skin->Part(), spNone);
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(true, 200, 16, 17, 1, 9, 13), CaptureWindow(wnd), Area(bar), "released"));
}

TEST_F(SkinScrollTest, HorizontalDragWithoutPageStopsAtTheMaximum) {
  TSkinScrollBar* skin = BarPanel(200, 60, false, true);
  const HWND wnd = Panel->Handle();
  SetBar(wnd, SB_HORZ, 10, 50, 0, 10);
  Repaint(wnd);
  RecordScrolls(*Panel, WM_HSCROLL);
  // Thumb of the platform's thumb size at the start of the 168-pixel track.
  EXPECT_EQ(skin->Geometry(0).ThumbLength, GetSystemMetrics(SM_CXHTHUMB));
  EXPECT_EQ(skin->Geometry(0).ThumbOffset, 0);
  const RECT bar = skin->BarRect(0);
  const POINT thumb{bar.left + 16 + 4, bar.top + 8};
  const RECT w = [&] {
    RECT r;
    GetWindowRect(wnd, &r);
    return r;
  }();
  CursorAt(ScreenOf(wnd, thumb));
  PostMessageW(wnd, WM_NCLBUTTONDOWN, HTHSCROLL, MAKELPARAM(w.left + thumb.x, w.top + thumb.y));
  MoveTo(wnd, {thumb.x + 76, thumb.y});
  MoveTo(wnd, {thumb.x + 500, thumb.y});
  Release(wnd, {thumb.x + 500, thumb.y});
  test::Pump();
  ASSERT_EQ(Codes(), (std::vector<int>{SB_THUMBTRACK, SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}));
  const int t = GetSystemMetrics(SM_CXHTHUMB), l = 168;
  EXPECT_EQ(Seen[0].Position, MulDiv(76, 40, l - t) + 10);
  EXPECT_EQ(Seen[1].Position, 50) << "at most the maximum";
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(false, 200, 16 + l - t, t, 2, 1, 5), Seen[1].Shown, Area(bar), "hdrag-end"));
  EXPECT_EQ(GetScrollPos(wnd, SB_HORZ), 50);
}

TEST_F(SkinScrollTest, ArrowAndPageClicksAreThePlatformsAndTheArrowShowsPressed) {
  TSkinScrollBar* skin = BarPanel(100, 200, true, false);
  const HWND wnd = Panel->Handle();
  RecordScrolls(*Panel, WM_VSCROLL);
  const RECT bar = skin->BarRect(1);
  const POINT down{bar.left + 8, 192};
  Press(wnd, HTVSCROLL, down);
  Release(wnd, down);
  test::Pump();
  ASSERT_GE(Seen.size(), 2u);
  EXPECT_EQ(Seen.front().Code, SB_LINEDOWN) << "the platform's own scroll message";
  EXPECT_EQ(Seen.back().Code, SB_ENDSCROLL);
  EXPECT_FALSE(skin->Dragging());
  // While the platform scrolled, the down arrow showed its pressed frame; after, its own.
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(true, 200, 92, 17, 1, 9, 14), Seen.front().Shown, Area(bar), "arrow-down"));
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(true, 200, 92, 17, 1, 9, 13), Seen.back().Shown, Area(bar), "arrow-up"));
  // The up arrow likewise with its own pressed frame.
  Seen.clear();
  const POINT up{bar.left + 8, 6};
  Press(wnd, HTVSCROLL, up);
  Release(wnd, up);
  test::Pump();
  ASSERT_GE(Seen.size(), 2u);
  EXPECT_EQ(Seen.front().Code, SB_LINEUP);
  EXPECT_TRUE(
      PixelsMatchAt(ExpectedBar(true, 200, 92, 17, 1, 10, 13), Seen.front().Shown, Area(bar), "arrow-up-pressed"));
  // A page click: the platform's page code, the skin stays out of it.
  Seen.clear();
  const POINT page{bar.left + 8, 150};
  Press(wnd, HTVSCROLL, page);
  Release(wnd, page);
  test::Pump();
  ASSERT_GE(Seen.size(), 2u);
  EXPECT_EQ(Seen.front().Code, SB_PAGEDOWN);
  for (const TScrollSeen& s : Seen) EXPECT_NE(s.Code, SB_THUMBTRACK);
}

TEST_F(SkinScrollTest, AHeldArrowShowsTheSkinBetweenThePlatformsSteps) {
  // A memo scrolls on each step the platform repeats while the arrow is held; between the
  // steps the bar shows the skin, the arrow pressed (the themed platform draws its own bar
  // after each step: the skin paints again once the queue comes round).
  ShowForm();
  auto* memo = Add<TMemo>(10, 10, 200, 150);
  memo->SetScrollBars(ssVertical);
  std::wstring text;
  for (int i = 0; i < 100; ++i) text += L"Line " + std::to_wstring(i) + L"\r\n";
  memo->SetCaption(text);
  const HWND wnd = memo->Handle();
  auto* skin = Host->Make<TSkinScrollBar>();
  skin->AttachScrollBars(memo, Data, true, &Canvas);
  Repaint(wnd);
  const RECT bar = skin->BarRect(1);
  ASSERT_EQ(Area(bar).Width(), 16);
  const POINT down{bar.left + 8, bar.bottom - 8};
  TPixelBitmap held;
  SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  const POINT s = ScreenOf(wnd, down);
  CursorAt(s);
  gFallbackWindow = wnd;
  FFallback = SetTimer(nullptr, 0, 3000, FallbackTimer);
  gStep = [&] {
    held = CaptureWindow(wnd);
    GetScrollInfo(wnd, SB_VERT, &info);
    PostMessageW(wnd, WM_LBUTTONUP, 0, ClientParam(wnd, down));
  };
  SetTimer(nullptr, 0, 600, StepTimer);
  PostMessageW(wnd, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(s.x, s.y));
  test::Pump();
  EXPECT_FALSE(gFallbackUsed);
  ASSERT_GT(info.nPos, 1) << "the platform repeated the step";
  // Where the thumb must be for the position the memo had then.
  const int length = bar.bottom - bar.top, l = length - 32, range = info.nMax - info.nMin;
  const int t = std::max(MulDiv(int(info.nPage), l, range), 8);
  const int o = std::min(MulDiv(info.nPos - info.nMin, l - t, range - int(info.nPage)), l - t);
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(true, length, 16 + o, t, 1, 9, 14), held, Area(bar), "arrow-held"));
  GetScrollInfo(wnd, SB_VERT, &info);
  const int end = std::min(MulDiv(info.nPos - info.nMin, l - t, range - int(info.nPage)), l - t);
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(true, length, 16 + end, t, 1, 9, 13), CaptureWindow(wnd), Area(bar),
                            "arrow-held-released"));
}

TEST_F(SkinScrollTest, DragEndsWhenCaptureIsTakenAway) {
  TSkinScrollBar* skin = BarPanel(100, 200, true, false);
  const HWND wnd = Panel->Handle();
  RecordScrolls(*Panel, WM_VSCROLL);
  const POINT thumb{skin->BarRect(1).left + 8, 100};
  bool wasDragging = false;
  PressAndThen(wnd, thumb, [&] {
    wasDragging = skin->Dragging() && GetCapture() == wnd;
    ReleaseCapture();
  });
  EXPECT_TRUE(wasDragging) << "the drag holds the capture";
  EXPECT_FALSE(gFallbackUsed) << "the drag went on after the capture was gone";
  EXPECT_FALSE(skin->Dragging());
  EXPECT_EQ(Codes(), (std::vector<int>{SB_THUMBPOSITION, SB_ENDSCROLL}));
  EXPECT_EQ(Seen.front().Position, 45) << "ends where the thumb was";
  EXPECT_EQ(skin->Part(), spNone);
}

// A release that never arrives (it went to another window): the first move without the
// button ends the drag where the thumb was, and later moves no longer scroll.
TEST_F(SkinScrollTest, DragEndsOnAMoveWithoutTheButton) {
  TSkinScrollBar* skin = BarPanel(100, 200, true, false);
  const HWND wnd = Panel->Handle();
  RecordScrolls(*Panel, WM_VSCROLL);
  const POINT thumb{skin->BarRect(1).left + 8, 100};
  PressAndThen(wnd, thumb, [&] {
    MoveTo(wnd, {thumb.x, thumb.y + 10});
    PostMessageW(wnd, WM_MOUSEMOVE, 0, ClientParam(wnd, {thumb.x, thumb.y + 40}));
    MoveTo(wnd, {thumb.x, thumb.y + 60});
  });
  test::Pump();
  EXPECT_FALSE(gFallbackUsed) << "the drag went on without the button";
  EXPECT_FALSE(skin->Dragging());
  EXPECT_NE(GetCapture(), wnd);
  ASSERT_EQ(Codes(), (std::vector<int>{SB_THUMBTRACK, SB_THUMBPOSITION, SB_ENDSCROLL}));
  EXPECT_EQ(Seen[1].Position, 51) << "ends where the last move with the button put it";
  EXPECT_EQ(GetScrollPos(wnd, SB_VERT), 51);
}

TEST_F(SkinScrollTest, DragEndsWhenAnotherThreadCancelsTheMode) {
  // What an activation change or a dialog coming up does: sent from outside, handled
  // while the drag waits; the wait must end too.
  TSkinScrollBar* skin = BarPanel(100, 200, true, false);
  const HWND wnd = Panel->Handle();
  const POINT thumb{skin->BarRect(1).left + 8, 100};
  std::thread canceller;
  PressAndThen(wnd, thumb, [&] { canceller = std::thread([wnd] { SendMessageW(wnd, WM_CANCELMODE, 0, 0); }); });
  if (canceller.joinable()) canceller.join();
  EXPECT_FALSE(gFallbackUsed) << "the drag waited on after the mode was cancelled";
  EXPECT_FALSE(skin->Dragging());
  EXPECT_NE(GetCapture(), wnd);
}

TEST_F(SkinScrollTest, DragEndsWhenTheWindowOrTheSkinGoesAway) {
  TSkinScrollBar* skin = BarPanel(100, 200, true, false);
  HWND wnd = Panel->Handle();
  POINT thumb{skin->BarRect(1).left + 8, 100};
  // The window only: a control freed inside its own message handling is the framework's
  // business, not the drag's.
  PressAndThen(wnd, thumb, [&] { DestroyWindow(wnd); });
  EXPECT_FALSE(gFallbackUsed);
  EXPECT_FALSE(IsWindow(wnd));
  EXPECT_FALSE(skin->Dragging());
  KillTimer(nullptr, std::exchange(FFallback, 0));

  // The skin freed by its owner in the middle of a drag.
  skin = BarPanel(100, 200, true, false);
  wnd = Panel->Handle();
  RecordScrolls(*Panel, WM_VSCROLL);
  thumb = {skin->BarRect(1).left + 8, 100};
  PressAndThen(wnd, thumb, [&] { Host->DestroyComponent(skin); });
  EXPECT_FALSE(gFallbackUsed);
  EXPECT_NE(GetCapture(), wnd);
  // The control still hears the drag end, where the thumb was.
  EXPECT_EQ(Codes(), (std::vector<int>{SB_THUMBPOSITION, SB_ENDSCROLL}));
  EXPECT_EQ(GetScrollPos(wnd, SB_VERT), 45);
}

TEST_F(SkinScrollTest, DragEndsOnQuitAndLeavesTheQuitForTheMainLoop) {
  TSkinScrollBar* skin = BarPanel(100, 200, true, false);
  const HWND wnd = Panel->Handle();
  const POINT thumb{skin->BarRect(1).left + 8, 100};
  const POINT s = ScreenOf(wnd, thumb);
  CursorAt(s);
  gFallbackWindow = wnd;
  FFallback = SetTimer(nullptr, 0, 3000, FallbackTimer);
  gStep = [] { PostQuitMessage(7); };
  SetTimer(nullptr, 0, 20, StepTimer);
  PostMessageW(wnd, WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(s.x, s.y));
  // Handled here, not by the application's loop, which would end on the quit.
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, wnd, WM_NCLBUTTONDOWN, WM_NCLBUTTONDOWN, PM_REMOVE));
  DispatchMessageW(&msg);
  EXPECT_FALSE(skin->Dragging());
  EXPECT_FALSE(gFallbackUsed);
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit was swallowed";
  EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(SkinScrollTest, ScrollBarControlWithTheWholeRangeVisible) {
  ShowForm();
  auto* bar = Add<TScrollBar>(20, 10, 16, 132);
  bar->SetKind(sbVertical);
  bar->SetBounds(20, 10, 16, 132);
  bar->SetParams(0, 0, 100);
  bar->SetPageSize(101);
  HideFocusCues();  // a mouse user's look: the faces alone
  auto* skin = Host->Make<TSkinScControl>();
  skin->AttachControl(bar, Data, false, &Canvas);
  Repaint(bar->Handle());
  EXPECT_EQ(skin->TrackLength(), 100);
  EXPECT_EQ(skin->ThumbLength(), 99) << "one pixel shorter than the track";
  EXPECT_EQ(skin->ThumbOffset(), 0);
  const RECT all{0, 0, 16, 132};
  EXPECT_TRUE(
      PixelsMatchAt(ExpectedBar(true, 132, 16, 99, 1, 9, 13), CaptureWindow(bar->Handle()), Area(all), "sc-whole"));

  // Page 10 at 45 of 0..100: thumb 100 x 10 / 101 = 10, offset 45 x 90 / 91 = 45.
  bar->SetPageSize(10);
  bar->SetPosition(45);
  test::Pump();
  EXPECT_EQ(skin->ThumbLength(), 10);
  EXPECT_EQ(skin->ThumbOffset(), 45);
  EXPECT_TRUE(
      PixelsMatchAt(ExpectedBar(true, 132, 16 + 45, 10, 1, 9, 13), CaptureWindow(bar->Handle()), Area(all), "sc-page"));

  // Focused, the platform would blink a caret over where its own thumb is: the skin's
  // thumb stays as drawn.
  bar->SetFocus();
  for (int i = 0; i < 6; ++i) {
    test::PumpUntil([] { return false; }, 150);
    ASSERT_TRUE(PixelsMatchAt(ExpectedBar(true, 132, 16 + 45, 10, 1, 9, 13), CaptureWindow(bar->Handle()), Area(all),
                              "sc-focused" + std::to_string(i)));
  }
  // A click on the down arrow: the control steps, the arrow shows pressed while it does.
  RecordScrolls(*bar, CN_VSCROLL);
  PostMessageW(bar->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(8, 124));
  PostMessageW(bar->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(8, 124));
  test::Pump();
  ASSERT_GE(Seen.size(), 2u);
  EXPECT_EQ(Seen.front().Code, SB_LINEDOWN);
  EXPECT_EQ(Seen.front().BarPosition, 46);
  const int offset = MulDiv(46, 90, 91);
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(true, 132, 16 + offset, 10, 1, 9, 14), Seen.front().Shown, Area(all),
                            "sc-arrow-pressed"));
  EXPECT_EQ(Seen.back().Code, SB_ENDSCROLL);
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(true, 132, 16 + offset, 10, 1, 9, 13), CaptureWindow(bar->Handle()), Area(all),
                            "sc-arrow-released"));
}

TEST_F(SkinScrollTest, HorizontalScrollBarControlShowsItsOwnElements) {
  ShowForm();
  auto* bar = Add<TScrollBar>(20, 10, 200, 16);
  bar->SetParams(0, 0, 99);
  bar->SetPageSize(10);
  HideFocusCues();  // a mouse user's look: the faces alone
  auto* skin = Host->Make<TSkinScControl>();
  skin->AttachControl(bar, Data, false, &Canvas);
  Repaint(bar->Handle());
  // Track 168; thumb 168 x 10 / 100 = 17 (rounded); at 0.
  EXPECT_EQ(skin->ThumbLength(), 17);
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(false, 200, 16, 17, 1, 1, 5), CaptureWindow(bar->Handle()), Rect{0, 0, 200, 16},
                            "sc-horizontal"));
  // Its thumb dragged the platform's way: the control follows, the skin's thumb with it,
  // pressed while it moves.
  RecordScrolls(*bar, CN_HSCROLL);
  const HWND wnd = bar->Handle();
  CursorAt(ScreenOf(wnd, {24, 8}));
  PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(24, 8));
  PostMessageW(wnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(84, 8));
  PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(84, 8));
  test::Pump();
  ASSERT_GE(Seen.size(), 3u);
  EXPECT_EQ(Seen.front().Code, SB_THUMBTRACK);
  const TScrollSeen& moved = Seen[Seen.size() - 3];  // the last track before the release
  EXPECT_EQ(moved.Code, SB_THUMBTRACK);
  EXPECT_GT(moved.BarPosition, 20);
  const int offset = MulDiv(moved.BarPosition, 168 - 17, 100 - 10 + 1);
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(false, 200, 16 + offset, 17, 2, 1, 5), moved.Shown, Rect{0, 0, 200, 16},
                            "sc-thumb-dragged"));
  EXPECT_EQ(Seen.back().Code, SB_ENDSCROLL);
  EXPECT_EQ(bar->Position(), moved.BarPosition);
  const int final = MulDiv(bar->Position(), 168 - 17, 100 - 10 + 1);
  EXPECT_TRUE(PixelsMatchAt(ExpectedBar(false, 200, 16 + final, 17, 1, 1, 5), CaptureWindow(wnd), Rect{0, 0, 200, 16},
                            "sc-thumb-released"));
}

TEST_F(SkinScrollTest, ListViewGetsItsBarsAndAHeaderSkinOfTheSameOwner) {
  ShowForm();
  auto* list = Add<TListView>(10, 10, 200, 150);
  list->SetViewStyle(vsReport);
  list->AddColumn(L"Name", 120);
  list->AddColumn(L"Size", 120);
  for (int i = 0; i < 40; ++i) list->AddItem(L"Row " + std::to_wstring(i));
  test::Pump();
  auto* skin = Host->Make<TSkinListView>();
  skin->AttachControl(list, Data, false, &Canvas);
  EXPECT_FALSE(skin->HandleClicks()) << "the attach flag";
  ASSERT_NE(skin->Header(), nullptr);
  EXPECT_EQ(skin->Header()->Handle(), list->HeaderHandle());
  EXPECT_EQ(skin->Header()->Owner(), Host);
  EXPECT_EQ(std::count(Host->Skins.begin(), Host->Skins.end(), skin->Header()), 1);
  EXPECT_EQ(std::count(Host->Skins.begin(), Host->Skins.end(), skin), 1);
  Repaint(list->Handle());
  const TPixelBitmap shown = CaptureWindow(list->Handle());
  const RECT vertical = skin->BarRect(1), horizontal = skin->BarRect(0);
  ASSERT_FALSE(IsRectEmpty(&vertical));
  ASSERT_FALSE(IsRectEmpty(&horizontal));
  EXPECT_EQ(shown.Pixel(vertical.left + 2, vertical.top + 2), ArrowColour(9));
  EXPECT_EQ(shown.Pixel(vertical.left + 2, vertical.bottom - 3), ArrowColour(13));
  EXPECT_EQ(shown.Pixel(horizontal.left + 2, horizontal.top + 2), ArrowColour(1));
  EXPECT_EQ(shown.Pixel(skin->Corner().left + 3, skin->Corner().top + 3), Face());

  // Scrolling by the wheel redraws the bars in the skin's look.
  SendMessageW(list->Handle(), WM_VSCROLL, SB_PAGEDOWN, 0);
  test::Pump();
  const TPixelBitmap scrolled = CaptureWindow(list->Handle());
  EXPECT_EQ(scrolled.Pixel(vertical.left + 2, vertical.top + 2), ArrowColour(9));
  EXPECT_GT(skin->Geometry(1).ThumbOffset, 0);
  const int thumbY = vertical.top + 16 + skin->Geometry(1).ThumbOffset + 1;
  EXPECT_EQ(scrolled.Pixel(vertical.left + 4, thumbY), kThumbV[0]);

  // A list view without a header window gets none.
  auto* icons = Add<TListView>(220, 10, 80, 80);
  icons->SetViewStyle(vsIcon);
  auto* iconSkin = Host->Make<TSkinListView>();
  iconSkin->AttachControl(icons, Data, false, &Canvas);
  EXPECT_EQ(iconSkin->Header() != nullptr, icons->HeaderHandle() != nullptr);
}

TEST_F(SkinScrollTest, ClassificationGivesScrollSkinsWithTheRightClickFlag) {
  ShowForm();
  auto* memo = Add<TMemo>(10, 10, 100, 60);
  memo->SetScrollBars(ssVertical);
  auto* list = Add<TListView>(120, 10, 100, 60);
  auto* box = Add<TListBox>(10, 80, 100, 60);
  auto* bar = Add<TScrollBar>(120, 80, 100, 16);
  TComponent formSkin;
  TControlSkins skins(&formSkin, [] { return false; });
  skins.Bind(Data, &Canvas);
  skins.SkinChildren(Form);
  auto* memoSkin = dynamic_cast<TSkinScrollBar*>(skins.FindControlSkin(memo->Handle()));
  ASSERT_NE(memoSkin, nullptr);
  EXPECT_EQ(memoSkin->ClassName(), "TSkinScrollBar");
  EXPECT_TRUE(memoSkin->HandleClicks());
  auto* listSkin = dynamic_cast<TSkinListView*>(skins.FindControlSkin(list->Handle()));
  ASSERT_NE(listSkin, nullptr);
  EXPECT_FALSE(listSkin->HandleClicks());
  auto* boxSkin = dynamic_cast<TSkinScrollBar*>(skins.FindControlSkin(box->Handle()));
  ASSERT_NE(boxSkin, nullptr);
  EXPECT_TRUE(boxSkin->HandleClicks());
  EXPECT_NE(dynamic_cast<TSkinScControl*>(skins.FindControlSkin(bar->Handle())), nullptr);
  skins.FreeControlSkins();
}

TEST_F(SkinScrollTest, BarsAreThePlatformsWithoutTheArrowPictureOrTheSkin) {
  TSkinScrollBar* skin = BarPanel(100, 200, true, false);
  const HWND wnd = Panel->Handle();
  const POINT thumb = ScreenOf(wnd, {84 + 8, 100});
  // A release waits in the queue, so that a drag begun by mistake ends at once.
  const auto refused = [&] {
    PostMessageW(wnd, WM_LBUTTONUP, 0, 0);
    const TMessage press{WM_NCLBUTTONDOWN, HTVSCROLL, MAKELPARAM(thumb.x, thumb.y), 0};
    const bool taken = skin->HandleClick(press);
    MSG left;
    while (PeekMessageW(&left, wnd, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE)) {
    }
    return !taken;
  };
  // A bar switched off is not dragged.
  EnableScrollBar(wnd, SB_VERT, ESB_DISABLE_BOTH);
  EXPECT_TRUE(refused());
  EnableScrollBar(wnd, SB_VERT, ESB_ENABLE_BOTH);
  // Without the arrow picture, nothing is drawn and no press is taken.
  TPixelBitmap arrows;
  std::swap(Model().Scrollbar->Image, arrows);
  Repaint(wnd);
  const auto showsTrack = [&] {
    const TPixelBitmap shown = CaptureWindow(wnd);
    for (int y = 0; y < 200; ++y)
      if (shown.Pixel(92, y) == kTrackV[0]) return true;
    return false;
  };
  EXPECT_FALSE(showsTrack());
  EXPECT_TRUE(refused());
  EXPECT_EQ(skin->Part(), spNone);
  // Detached, the platform's bars come back at once.
  std::swap(Model().Scrollbar->Image, arrows);
  Repaint(wnd);
  ASSERT_TRUE(showsTrack());
  skin->Detach();
  test::Pump();
  EXPECT_FALSE(showsTrack());
}

TEST_F(SkinScrollTest, RepaintsAndDragsHoldNoHandles) {
  TSkinScrollBar* skin = BarPanel(150, 120, true, true);
  const HWND wnd = Panel->Handle();
  const auto round = [&] {
    Repaint(wnd);
    const POINT thumb{skin->BarRect(1).left + 8, skin->BarRect(1).top + 16 + skin->Geometry(1).ThumbOffset + 2};
    Press(wnd, HTVSCROLL, thumb);
    MoveTo(wnd, {thumb.x, thumb.y + 5});
    Release(wnd, {thumb.x, thumb.y + 5});
    test::Pump();
  };
  round();
  const test::THandleLeakCheck check;
  for (int i = 0; i < 10; ++i) round();
  for (int i = 0; i < 100; ++i) Repaint(wnd);
  EXPECT_TRUE(check.NothingLeaked());
  EXPECT_GT(GetScrollPos(wnd, SB_VERT), 45) << "the drags moved the bar";
}

}  // namespace
}  // namespace kv
