// Track bars and up-down controls skinned on real windows under Wine: the thumb and both
// arrow buttons read back per state and compared with the frame they should show, the
// fallback boxes and arrows without a skin picture, and the controls still answering
// clicks and keys as before.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <iomanip>
#include <sstream>
#include <utility>
#include <vector>

#include "SkinTestFixture.h"
#include "framework/RangeCtrls.h"
#include "skin/controls/SkinRanges.h"
#include "support/HandleCount.h"

namespace kv {
namespace {

using test::CaptureClient;
using test::PixelsMatch;

// The eight up-down frames: normal, pressed, disabled, hot for the first button, then the
// same for the second; glyphs and the horizontal element in colours of their own.
const std::vector<std::uint32_t> kVert{0x200000, 0x400000, 0x600000, 0x800000, 0x002000, 0x004000, 0x006000, 0x008000};
const std::vector<std::uint32_t> kHorz{0x000020, 0x000040, 0x000060, 0x000080, 0x202000, 0x404000, 0x606000, 0x808000};
const std::vector<std::uint32_t> kGlyph{0xF00000, 0xE00000, 0xD00000, 0xC00000, 0x00F000, 0x00E000, 0x00D000, 0x00C000};
// Thumb frames; the vertical element's differ from the horizontal one's.
const std::vector<std::uint32_t> kThumbHorz{0x101080, 0x1010A0, 0x1010C0, 0x1010E0, 0x1010F0};
const std::vector<std::uint32_t> kThumbVert{0x801010, 0xA01010, 0xC01010, 0xE01010, 0xF01010};
constexpr std::uint32_t kShadow = 0x606060, kDark = 0x202020;

// A skin whose hot flag a test can set, as the form skin would.
class TProbeUpDown : public TSkinUpDown {
 public:
  void SetHot(bool hot) { FState = hot ? std::uint8_t(FState | sbHot) : std::uint8_t(FState & ~sbHot); }
};

std::string Hex(std::uint32_t value) {
  std::ostringstream out;
  out << "0x" << std::hex << std::setw(6) << std::setfill('0') << value;
  return out.str();
}

class SkinRangesTest : public test::TSkinnedFormTest {
 protected:
  void UseUpDowns() {
    auto vert = std::make_unique<TDataSkinBorder>();
    vert->Image = test::CellStrip(8, 10, 10, kVert);
    vert->Image2 = test::CellStrip(8, 6, 4, kGlyph);
    Model().UpDownVert = std::move(vert);
    auto horz = std::make_unique<TDataSkinBorder>();
    horz->Image = test::CellStrip(8, 10, 10, kHorz);
    horz->Image2 = test::CellStrip(8, 4, 6, kGlyph);
    Model().UpDownHorz = std::move(horz);
  }
  void UseThumbs() {
    auto horz = std::make_unique<TDataSkinObject>();
    horz->Image = test::CellStrip(5, 8, 16, kThumbHorz);
    Model().TrackbarThumbHorz = std::move(horz);
    auto vert = std::make_unique<TDataSkinObject>();
    vert->Image = test::CellStrip(5, 16, 8, kThumbVert);
    Model().TrackbarThumbVert = std::move(vert);
  }
  void UseFallbackColours() {
    Model().Colours.ButtonShadowColour = ColorOf(kShadow);
    Model().Colours.ButtonDkShadowColour = ColorOf(kDark);
  }
  static void Repaint(HWND wnd) { RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW); }
  // The skin reads the cursor itself. Wine answers a warp with motion events of its own
  // that arrive later, so wait until the position reads back steadily.
  static void CursorAt(POINT target) {
    int steady = 0;
    for (int i = 0; i < 200 && steady < 5; ++i) {
      POINT now{};
      GetCursorPos(&now);
      if (now.x == target.x && now.y == target.y) {
        ++steady;
      } else {
        steady = 0;
        SetCursorPos(target.x, target.y);
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
      test::Pump();
    }
  }
  static void CursorTo(HWND wnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(wnd, &p);
    CursorAt(p);
  }
  static void CursorAway() { CursorAt({0, 0}); }
  // The two button rectangles of a client area of w x h.
  static std::pair<Rect, Rect> Buttons(int w, int h, bool horizontal, bool inset) {
    const Rect c = inset ? Rect{1, 1, w - 1, h - 1} : Rect{0, 0, w, h};
    Rect first = c, second = c;
    if (horizontal) {
      first.Right = second.Left = c.Left + c.Width() / 2;
    } else {
      first.Bottom = second.Top = c.Top + c.Height() / 2;
    }
    return {first, second};
  }
  // Frames f1 and f2 of `element` stretched over the two buttons, glyphs centred, over the face.
  TPixelBitmap Expected(const TDataSkinBorder& element, int w, int h, bool horizontal, bool inset, int f1, int f2) {
    TPixelBitmap expected(w, h, Face());
    const auto [first, second] = Buttons(w, h, horizontal, inset);
    for (const auto& [r, f] : {std::pair{first, f1}, std::pair{second, f2}}) {
      DrawFrameStretched(expected, r, element.Image, TDrawFlags::dfTransparent, 8, f);
      const int cw = element.Image2.Width() / 8, ch = element.Image2.Height();
      const int left = r.Left + (r.Width() - cw) / 2, top = r.Top + (r.Height() - ch) / 2;
      DrawFrameStretched(expected, {left, top, left + cw, top + ch}, element.Image2, TDrawFlags::dfTransparent, 8, f);
    }
    return expected;
  }
  // The up-down shows frames f1 and f2 of `element` (stretched, glyph centred, over the
  // face): the frame colours first, for a clear message, then every pixel.
  ::testing::AssertionResult ShowsFrames(HWND wnd, const TDataSkinBorder& element,
                                         const std::vector<std::uint32_t>& colours, int f1, int f2, bool horizontal,
                                         const std::string& name, bool inset = false) {
    const TPixelBitmap shown = CaptureClient(wnd);
    const auto [first, second] = Buttons(shown.Width(), shown.Height(), horizontal, inset);
    const std::uint32_t a = shown.Pixel(first.Left + 1, first.Top + 1),
                        b = shown.Pixel(second.Left + 1, second.Top + 1);
    if (a != colours[std::size_t(f1 - 1)] || b != colours[std::size_t(f2 - 1)])
      return ::testing::AssertionFailure()
             << name << ": buttons show " << Hex(a) << " and " << Hex(b) << ", frames " << f1 << " and " << f2
             << " are " << Hex(colours[std::size_t(f1 - 1)]) << " and " << Hex(colours[std::size_t(f2 - 1)]);
    const TPixelBitmap expected = Expected(element, shown.Width(), shown.Height(), horizontal, inset, f1, f2);
    return PixelsMatch(expected, shown, name);
  }
  // The thumb where the bar reports it shows frame `frame` of `strip` stretched over it;
  // its magenta lets the platform's painting show.
  static ::testing::AssertionResult ShowsThumb(HWND bar, const TPixelBitmap& strip, int frame,
                                               const std::string& name) {
    RECT t{};
    SendMessageW(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&t));
    if (t.right - t.left <= 0 || t.bottom - t.top <= 0) return ::testing::AssertionFailure() << name << ": no thumb";
    const TPixelBitmap expected = RenderFrameStretched(t.right - t.left, t.bottom - t.top, strip, 5, frame);
    const TPixelBitmap shown = CaptureClient(bar);
    for (int y = 0; y < expected.Height(); ++y)
      for (int x = 0; x < expected.Width(); ++x) {
        const std::uint32_t e = expected.Pixel(x, y), s = shown.Pixel(t.left + x, t.top + y);
        if (e == test::kMagentaPixel ? s == test::kMagentaPixel : s != e)
          return ::testing::AssertionFailure()
                 << name << ": thumb pixel (" << x << ", " << y << ") shows " << Hex(s) << ", expected " << Hex(e);
      }
    return ::testing::AssertionSuccess();
  }
  static RECT ThumbRect(HWND bar) {
    RECT t{};
    SendMessageW(bar, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&t));
    return t;
  }
};

TEST_F(SkinRangesTest, VerticalUpDownShowsTheFrameOfEveryState) {
  UseUpDowns();
  ShowForm();
  TWindowHandle spin = Child(UPDOWN_CLASSW, L"", 0, 10, 10, 20, 40);
  SendMessageW(spin.Get(), UDM_SETRANGE32, 0, 10);
  SendMessageW(spin.Get(), UDM_SETPOS32, 0, 5);
  auto* skin = Host->Make<TProbeUpDown>();
  skin->AttachWindow(spin.Get(), Data, &Canvas);
  EXPECT_EQ(skin->Kind(), TControlSkinKind::skUpDown);
  const TDataSkinBorder& vert = *Model().UpDownVert;
  HWND wnd = spin.Get();

  CursorAway();
  Repaint(wnd);
  EXPECT_TRUE(ShowsFrames(wnd, vert, kVert, 1, 5, false, "updown-normal"));

  skin->SetHot(true);
  CursorTo(wnd, 10, 5);
  Repaint(wnd);
  EXPECT_TRUE(ShowsFrames(wnd, vert, kVert, 4, 5, false, "updown-hot-first"));
  CursorTo(wnd, 10, 30);
  Repaint(wnd);
  EXPECT_TRUE(ShowsFrames(wnd, vert, kVert, 1, 8, false, "updown-hot-second"));
  skin->SetHot(false);

  // The press shows at once, on the half being pressed, and goes with the release.
  Post(wnd, WM_LBUTTONDOWN, 10, 30, MK_LBUTTON);
  EXPECT_TRUE(ShowsFrames(wnd, vert, kVert, 1, 6, false, "updown-pressed-second"));
  Post(wnd, WM_LBUTTONUP, 10, 30);
  EXPECT_TRUE(ShowsFrames(wnd, vert, kVert, 1, 5, false, "updown-released"));
  CursorTo(wnd, 10, 5);
  Post(wnd, WM_LBUTTONDOWN, 10, 5, MK_LBUTTON);
  EXPECT_TRUE(ShowsFrames(wnd, vert, kVert, 2, 5, false, "updown-pressed-first"));
  Post(wnd, WM_LBUTTONUP, 10, 5);

  EnableWindow(wnd, FALSE);
  test::Pump();
  Repaint(wnd);
  EXPECT_TRUE(ShowsFrames(wnd, vert, kVert, 3, 7, false, "updown-disabled"));
  CursorAway();
}

TEST_F(SkinRangesTest, HorizontalStyleFlagAndInsetPlaceTheButtons) {
  UseUpDowns();
  ShowForm();
  const TDataSkinBorder& horz = *Model().UpDownHorz;
  TWindowHandle across = Child(UPDOWN_CLASSW, L"", UDS_HORZ, 10, 10, 40, 20);
  SendMessageW(across.Get(), UDM_SETRANGE32, 0, 10);
  Host->Make<TSkinUpDown>()->AttachWindow(across.Get(), Data, &Canvas);
  HWND wnd = across.Get();
  CursorAway();
  Repaint(wnd);
  EXPECT_TRUE(ShowsFrames(wnd, horz, kHorz, 1, 5, true, "horz-normal"));
  CursorTo(wnd, 30, 10);
  Post(wnd, WM_LBUTTONDOWN, 30, 10, MK_LBUTTON);
  EXPECT_TRUE(ShowsFrames(wnd, horz, kHorz, 1, 6, true, "horz-pressed-right"));
  Post(wnd, WM_LBUTTONUP, 30, 10);

  // A vertical window told to lie across takes the horizontal element.
  TWindowHandle scroller = Child(UPDOWN_CLASSW, L"", 0, 60, 10, 40, 20);
  auto* flagged = Host->Make<TSkinUpDown>();
  flagged->SetHorizontal(true);
  flagged->AttachWindow(scroller.Get(), Data, &Canvas);
  CursorAway();
  Repaint(scroller.Get());
  EXPECT_TRUE(ShowsFrames(scroller.Get(), horz, kHorz, 1, 5, true, "horz-flag"));

  // Inside an edit's frame: a pixel of face all round.
  TWindowHandle inner = Child(UPDOWN_CLASSW, L"", 0, 110, 10, 22, 42);
  auto* inset = Host->Make<TSkinUpDown>();
  inset->SetInset(true);
  inset->AttachWindow(inner.Get(), Data, &Canvas);
  Repaint(inner.Get());
  EXPECT_TRUE(ShowsFrames(inner.Get(), *Model().UpDownVert, kVert, 1, 5, false, "inset", true));
  const TPixelBitmap shown = CaptureClient(inner.Get());
  EXPECT_EQ(shown.Pixel(0, 0), Face());
  EXPECT_EQ(shown.Pixel(shown.Width() - 1, shown.Height() - 1), Face());
  EXPECT_EQ(shown.Pixel(1, 1), kVert[0]);
}

TEST_F(SkinRangesTest, WithoutGlyphsTheButtonsAreBoxesWithDrawnArrows) {
  UseUpDowns();
  UseFallbackColours();
  Model().UpDownVert->Image2 = TPixelBitmap();  // the frame strip alone is not enough
  Model().UpDownHorz.reset();
  ShowForm();
  TWindowHandle spin = Child(UPDOWN_CLASSW, L"", 0, 10, 10, 20, 40);
  SendMessageW(spin.Get(), UDM_SETRANGE32, 0, 10);
  Host->Make<TSkinUpDown>()->AttachWindow(spin.Get(), Data, &Canvas);
  HWND wnd = spin.Get();
  CursorAway();
  Repaint(wnd);
  TPixelBitmap shown = CaptureClient(wnd);
  // The platform keeps a vertical up-down at its own width: measure what it has.
  const int w = shown.Width(), h = shown.Height(), half = h / 2;
  ASSERT_GE(w, 12);
  ASSERT_GE(h, 30);
  // Outlines and faces.
  EXPECT_EQ(shown.Pixel(0, 0), kDark);
  EXPECT_EQ(shown.Pixel(w - 1, half - 1), kDark);
  EXPECT_EQ(shown.Pixel(0, half), kDark);
  EXPECT_EQ(shown.Pixel(w - 1, h - 1), kDark);
  EXPECT_EQ(shown.Pixel(1, 1), Face());
  EXPECT_EQ(shown.Pixel(1, half + 1), Face());
  // The up arrow's tip two pixels above its box's centre, its sides going down.
  const int x = w / 2, up = half / 2 - 2, down = half + (h - half) / 2 - 2;
  EXPECT_EQ(shown.Pixel(x, up), kDark);
  EXPECT_EQ(shown.Pixel(x, up - 1), Face()) << "lines stop short of their last point";
  EXPECT_EQ(shown.Pixel(x + 3, up + 3), kDark);
  EXPECT_EQ(shown.Pixel(x - 3, up + 3), kDark);
  EXPECT_EQ(shown.Pixel(x + 4, up + 4), Face());
  // The down arrow: tip three below its point, sides rising to it.
  EXPECT_EQ(shown.Pixel(x, down + 3), kDark);
  EXPECT_EQ(shown.Pixel(x, down + 4), Face());
  EXPECT_EQ(shown.Pixel(x + 3, down), kDark);
  EXPECT_EQ(shown.Pixel(x - 3, down), kDark);
  EXPECT_EQ(shown.Pixel(x + 4, down - 1), Face());

  CursorTo(wnd, 10, 30);
  Post(wnd, WM_LBUTTONDOWN, 10, 30, MK_LBUTTON);
  shown = CaptureClient(wnd);
  EXPECT_EQ(shown.Pixel(1, half + 1), kShadow) << "the pressed half sinks";
  EXPECT_EQ(shown.Pixel(1, 1), Face());
  EXPECT_EQ(shown.Pixel(x, down + 3), kDark);
  Post(wnd, WM_LBUTTONUP, 10, 30);
  EnableWindow(wnd, FALSE);
  test::Pump();
  Repaint(wnd);
  EXPECT_EQ(CaptureClient(wnd).Pixel(1, half + 1), Face()) << "disabled is flat even under the cursor";

  TWindowHandle across = Child(UPDOWN_CLASSW, L"", UDS_HORZ, 40, 10, 40, 20);
  Host->Make<TSkinUpDown>()->AttachWindow(across.Get(), Data, &Canvas);
  CursorAway();
  Repaint(across.Get());
  shown = CaptureClient(across.Get());
  EXPECT_EQ(shown.Pixel(20, 0), kDark) << "the right box starts at the half";
  EXPECT_EQ(shown.Pixel(9, 10), kDark) << "left arrow's tip";
  EXPECT_EQ(shown.Pixel(11, 10), kDark);
  EXPECT_EQ(shown.Pixel(8, 10), Face());
  EXPECT_EQ(shown.Pixel(31, 10), kDark) << "right arrow's tip";
  EXPECT_EQ(shown.Pixel(29, 10), kDark);
  EXPECT_EQ(shown.Pixel(32, 10), Face());
}

TEST_F(SkinRangesTest, ClickingAHalfStillStepsExactlyOnce) {
  UseUpDowns();
  TUpDown* spin = Add<TUpDown>(10, 10, 20, 40);
  spin->SetRange(0, 10);
  spin->SetPosition(5);
  std::vector<TUDBtnType> clicks;
  spin->OnClick = [&clicks](TComponent*, TUDBtnType button) { clicks.push_back(button); };
  ShowForm();
  auto* skin = Host->Make<TSkinUpDown>();
  skin->AttachControl(spin, Data, false, &Canvas);
  TWindowHandle bare = Child(UPDOWN_CLASSW, L"", 0, 60, 10, 20, 40);
  SendMessageW(bare.Get(), UDM_SETRANGE32, 0, 10);
  SendMessageW(bare.Get(), UDM_SETPOS32, 0, 5);
  Host->Make<TSkinUpDown>()->AttachWindow(bare.Get(), Data, &Canvas);
  CursorAway();

  ClickAt(spin->Handle(), 10, 8);
  EXPECT_EQ(spin->Position(), 6);
  ClickAt(spin->Handle(), 10, 32);
  EXPECT_EQ(spin->Position(), 5);
  EXPECT_EQ(clicks, (std::vector<TUDBtnType>{btNext, btPrev}));
  EXPECT_TRUE(ShowsFrames(spin->Handle(), *Model().UpDownVert, kVert, 1, 5, false, "framework-after-clicks"));

  ClickAt(bare.Get(), 10, 8);
  EXPECT_EQ(SendMessageW(bare.Get(), UDM_GETPOS32, 0, 0), 6);
  ClickAt(bare.Get(), 10, 32);
  ClickAt(bare.Get(), 10, 32);
  EXPECT_EQ(SendMessageW(bare.Get(), UDM_GETPOS32, 0, 0), 4);
  EXPECT_TRUE(ShowsFrames(bare.Get(), *Model().UpDownVert, kVert, 1, 5, false, "bare-after-clicks"));
}

TEST_F(SkinRangesTest, TrackBarThumbIsTheSkinsFrameWhereverItMoves) {
  UseThumbs();
  TTrackBar* bar = Add<TTrackBar>(10, 10, 200, 32);
  bar->SetRange(0, 10);
  int changes = 0;
  bar->OnChange = [&changes](TComponent*) { ++changes; };
  ShowForm();
  auto* skin = Host->Make<TSkinTrackBar>();
  skin->AttachControl(bar, Data, false, &Canvas);
  EXPECT_EQ(skin->Kind(), TControlSkinKind::skTrackBar);
  HWND wnd = bar->Handle();
  Repaint(wnd);
  const TPixelBitmap& strip = Model().TrackbarThumbHorz->Image;
  EXPECT_TRUE(ShowsThumb(wnd, strip, 2, "thumb-start"));

  const RECT before = ThumbRect(wnd);
  PressKey(wnd, VK_RIGHT);
  EXPECT_EQ(bar->Position(), 1);
  EXPECT_EQ(changes, 1);
  const RECT after = ThumbRect(wnd);
  EXPECT_GT(after.left, before.left);
  EXPECT_TRUE(ShowsThumb(wnd, strip, 2, "thumb-moved"));
  EXPECT_NE(CaptureClient(wnd).Pixel(before.left, before.top + 1), kThumbHorz[1]) << "the old place is repainted";

  // Dragging: the platform calls the thumb hot then; it keeps the one frame.
  const int x = (after.left + after.right) / 2, y = (after.top + after.bottom) / 2;
  Post(wnd, WM_LBUTTONDOWN, x, y, MK_LBUTTON);
  Post(wnd, WM_MOUSEMOVE, x + 80, y, MK_LBUTTON);
  EXPECT_TRUE(ShowsThumb(wnd, strip, 2, "thumb-dragged"));
  Post(wnd, WM_LBUTTONUP, x + 80, y);
  EXPECT_GT(bar->Position(), 1) << "the drag still moves the bar";
  EXPECT_GT(changes, 1);
  EXPECT_TRUE(ShowsThumb(wnd, strip, 2, "thumb-dropped"));
}

TEST_F(SkinRangesTest, BareTrackBarsPickTheirThumbOrOutlineIt) {
  UseThumbs();
  UseFallbackColours();
  ShowForm();
  TWindowHandle across = Child(TRACKBAR_CLASSW, L"", 0, 10, 10, 200, 32);
  TWindowHandle upright = Child(TRACKBAR_CLASSW, L"", TBS_VERT, 240, 10, 32, 200);
  // A parent that hands its children's notifications back to them, as the form skin does.
  const std::vector<HWND> bare{across.Get(), upright.Get()};
  const THookToken relay = Form->HookWindowProc([&bare](TMessage& m, TDefaultProc callDefault) {
    if (m.Msg == WM_NOTIFY) {
      const HWND from = reinterpret_cast<const NMHDR*>(m.LParam)->hwndFrom;
      if (std::find(bare.begin(), bare.end(), from) != bare.end()) {
        m.Result = SendMessageW(from, WM_NOTIFY, m.WParam, m.LParam);
        return;
      }
    }
    callDefault(m);
  });
  Host->Make<TSkinTrackBar>()->AttachWindow(across.Get(), Data, &Canvas);
  Host->Make<TSkinTrackBar>()->AttachWindow(upright.Get(), Data, &Canvas);
  Repaint(across.Get());
  Repaint(upright.Get());
  EXPECT_TRUE(ShowsThumb(across.Get(), Model().TrackbarThumbHorz->Image, 2, "bare-horz"));
  EXPECT_TRUE(ShowsThumb(upright.Get(), Model().TrackbarThumbVert->Image, 2, "bare-vert"));

  Model().TrackbarThumbVert.reset();
  Repaint(upright.Get());
  EXPECT_TRUE(ShowsThumb(upright.Get(), Model().TrackbarThumbHorz->Image, 2, "vert-takes-horz"));

  PressKey(across.Get(), VK_RIGHT);
  EXPECT_EQ(SendMessageW(across.Get(), TBM_GETPOS, 0, 0), 1) << "keys still move it";

  Model().TrackbarThumbHorz.reset();
  Repaint(upright.Get());
  const RECT t = ThumbRect(upright.Get());
  const TPixelBitmap shown = CaptureClient(upright.Get());
  const int midX = (t.left + t.right) / 2, midY = (t.top + t.bottom) / 2;
  EXPECT_EQ(shown.Pixel(t.left, midY), kShadow);
  EXPECT_EQ(shown.Pixel(t.right - 1, midY), kShadow);
  EXPECT_EQ(shown.Pixel(midX, t.top), kShadow);
  EXPECT_EQ(shown.Pixel(midX, t.bottom - 1), kShadow);
  EXPECT_NE(shown.Pixel(midX, midY), kShadow) << "an outline, not a block";
  Form->UnhookWindowProc(relay);
}

TEST_F(SkinRangesTest, TheProgramSkinDrawsItsThumbAndItsArrowsOrTheirFallback) {
  Data->ReadSkinResource(L"KORAVENTSKIN");
  ASSERT_FALSE(Data->NoSkin());
  ASSERT_TRUE(Model().TrackbarThumbHorz);
  ShowForm();
  TTrackBar* bar = Add<TTrackBar>(60, 10, 200, 32);
  Host->Make<TSkinTrackBar>()->AttachControl(bar, Data, false, &Canvas);
  Repaint(bar->Handle());
  EXPECT_TRUE(ShowsThumb(bar->Handle(), Model().TrackbarThumbHorz->Image, 2, "program-thumb"));

  // Each orientation from its element when that has glyphs, else as flat boxes.
  CursorAway();
  const std::uint32_t dark = PixelOf(ResolveColor(Model().Colours.ButtonDkShadowColour));
  for (const bool horizontal : {false, true}) {
    SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
    TWindowHandle spin = Child(UPDOWN_CLASSW, L"", horizontal ? UDS_HORZ : 0, 10, horizontal ? 80 : 10, 36, 36);
    Host->Make<TSkinUpDown>()->AttachWindow(spin.Get(), Data, &Canvas);
    Repaint(spin.Get());
    const TPixelBitmap shown = CaptureClient(spin.Get());
    const TDataSkinBorder* element = horizontal ? Model().UpDownHorz.get() : Model().UpDownVert.get();
    if (element && !element->Image2.Empty()) {
      EXPECT_TRUE(PixelsMatch(Expected(*element, shown.Width(), shown.Height(), horizontal, false, 1, 5), shown,
                              horizontal ? "program-horz" : "program-vert"));
    } else {
      EXPECT_EQ(shown.Pixel(0, 0), dark);
      EXPECT_EQ(shown.Pixel(shown.Width() - 1, shown.Height() - 1), dark);
      EXPECT_EQ(shown.Pixel(1, 1), Face());
    }
  }
}

TEST_F(SkinRangesTest, PressingDraggingAndRepaintingHoldNoHandles) {
  UseUpDowns();
  UseThumbs();
  TUpDown* spin = Add<TUpDown>(10, 10, 20, 40);
  spin->SetRange(0, 1000);
  TTrackBar* bar = Add<TTrackBar>(40, 10, 200, 32);
  bar->SetRange(0, 1000);
  ShowForm();
  Host->Make<TSkinUpDown>()->AttachControl(spin, Data, false, &Canvas);
  Host->Make<TSkinTrackBar>()->AttachControl(bar, Data, false, &Canvas);
  TWindowHandle plain = Child(UPDOWN_CLASSW, L"", 0, 260, 10, 20, 40);
  SendMessageW(plain.Get(), UDM_SETRANGE32, 0, 1000);
  auto* fallback = Host->Make<TSkinUpDown>();
  fallback->AttachWindow(plain.Get(), Data, &Canvas);
  const auto round = [&] {
    ClickAt(spin->Handle(), 10, 8);
    ClickAt(plain.Get(), 10, 8);
    PressKey(bar->Handle(), VK_RIGHT);
    Repaint(spin->Handle());
    Repaint(plain.Get());
    Repaint(bar->Handle());
  };
  round();  // fills the caches that fill once
  TPixelBitmap spareGlyphs;
  const test::THandleLeakCheck check;
  for (int i = 0; i < 30; ++i) {
    std::swap(Model().UpDownVert->Image2, spareGlyphs);  // every other round the fallback look
    round();
  }
  EXPECT_EQ(spin->Position(), 31) << "each click one step";
  EXPECT_EQ(bar->Position(), 31);
  EXPECT_TRUE(check.NothingLeaked());
}

}  // namespace
}  // namespace kv
