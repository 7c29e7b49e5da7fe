#pragma once
// Checks of a skinned frame at a display scale, read back from the window: its borders
// against the skin's 96-DPI pieces times the scale, its caption text whole inside the
// strip, its region against the key of the scaled pictures (and of the 96-DPI ones
// they were resampled from). The frame tests and the editor's scale tests share them.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "base/win/Dc.h"
#include "base/win/Dpi.h"
#include "base/win/Handles.h"
#include "framework/TestUtil.h"
#include "skin/core/SkinData.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinWindowFrame.h"
#include "skin/gdi/SkinGdi.h"
#include "skin/windows/WinSkinForm.h"

namespace kv::test {

// What the window's frame measures on the screen: the client area's distance from each
// window edge (the menu bar belongs to the top).
inline Margins ShownFrame(HWND window) {
  RECT outer{}, client{};
  GetWindowRect(window, &outer);
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  return {origin.x - outer.left, origin.y - outer.top, outer.right - (origin.x + client.right),
          outer.bottom - (origin.y + client.bottom)};
}

// One frame of a border record's picture at 96 DPI, across its edge: a side piece's
// width, a top or bottom piece's height.
inline int PieceFrameSize(const TDataSkinBorder* record, bool side) {
  if (!record || record->Image.Empty()) return 0;
  return (side ? record->Image.Width() : record->Image.Height()) / std::max(record->FrameCount, 1);
}

// The frame of `skin` is the skin's 96-DPI pieces times dpi / 96, within a pixel, and the
// form skin says so too.
inline void ExpectFrameAtScale(const TWinSkinForm& skin, const TSkinDefinition& base, int dpi) {
  const FrameSkin pieces = FrameSkinOf(base);
  const Margins shown = ShownFrame(skin.Window());
  const struct {
    const char* Edge;
    int Shown;
    int Base;
    int Told;
  } edges[] = {
      {"left", shown.Left, PieceFrameSize(pieces.Left, true), skin.Borders().Left},
      {"caption strip", shown.Top - skin.MenuBarHeight(), PieceFrameSize(pieces.Top, false), skin.Borders().Top},
      {"right", shown.Right, PieceFrameSize(pieces.Right, true), skin.Borders().Right},
      {"bottom", shown.Bottom, PieceFrameSize(pieces.Bottom, false), skin.Borders().Bottom},
  };
  for (const auto& e : edges) {
    SCOPED_TRACE(std::string(e.Edge) + " at " + std::to_string(dpi) + " DPI");
    EXPECT_GT(e.Base, 0) << "the skin has no piece there";
    EXPECT_NEAR(e.Shown, e.Base * dpi / 96.0, 1.0) << "96-DPI piece " << e.Base;
    EXPECT_EQ(e.Shown, e.Told) << "the form skin's borders";
  }
}

// The system's caption font at `dpi`.
inline TFontHandle CaptionFontAt(int dpi) {
  using TForDpi = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  const auto forDpi = reinterpret_cast<TForDpi>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
  if (!forDpi || !forDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, UINT(dpi))) {
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0);
    metrics.lfCaptionFont.lfHeight = MulDiv(metrics.lfCaptionFont.lfHeight, dpi, SystemDpi());
  }
  return TFontHandle(CreateFontIndirectW(&metrics.lfCaptionFont));
}

// Rows and columns with ink: pixels where `mark` says so.
struct TInkBox {
  int Left = INT32_MAX, Top = INT32_MAX, Right = -1, Bottom = -1;  // inclusive
  bool Empty() const { return Right < 0; }
  int Width() const { return Empty() ? 0 : Right - Left + 1; }
  int Height() const { return Empty() ? 0 : Bottom - Top + 1; }
  void Add(int x, int y) {
    Left = std::min(Left, x);
    Right = std::max(Right, x);
    Top = std::min(Top, y);
    Bottom = std::max(Bottom, y);
  }
};

// `text` in `font`, white on black with nothing clipped: where its strokes are.
inline TInkBox TextInk(const std::wstring& text, HFONT font) {
  const TWindowDc screen = TWindowDc::Screen();
  const TMemoryDc dc(CreateCompatibleDC(screen.Get()));
  RECT r{0, 0, 0, 0};
  TSelectGuard measuring(dc.Get(), font);
  DrawTextW(dc.Get(), text.c_str(), int(text.size()), &r, DT_CALCRECT | DT_SINGLELINE | DT_NOCLIP);
  const int w = r.right + 8, h = r.bottom + 8;
  const TBitmapHandle bitmap(CreateBufferBitmap(w, h));
  TSelectGuard select(dc.Get(), bitmap.Get());
  PatBlt(dc.Get(), 0, 0, w, h, BLACKNESS);
  SetBkMode(dc.Get(), TRANSPARENT);
  SetTextColor(dc.Get(), RGB(255, 255, 255));
  RECT at{4, 4, w, h};
  DrawTextW(dc.Get(), text.c_str(), int(text.size()), &at, DT_SINGLELINE | DT_NOCLIP);
  const TPixelBitmap pixels = ReadDcPixels(dc.Get(), {0, 0, w, h});
  TInkBox ink;
  for (int y = 0; y < pixels.Height(); ++y)
    for (int x = 0; x < pixels.Width(); ++x)
      if ((pixels.Pixel(x, y) & 0xFFFFFF) != 0) ink.Add(x, y);
  return ink;
}

// The caption text of `skin`'s window shows every stroke it has in the caption font at
// the window's scale, inside the strip between the side borders and off the caption
// buttons. Its strokes are found as the pixels that change when the title colour does.
inline void ExpectCaptionTextWhole(const TWinSkinForm& skin, TSkinData& data, int dpi) {
  const HWND window = skin.Window();
  TSkinColours& colours = data.Model().Colours;
  const TSkinColour kept = colours.TitleTextActiveColour;
  RECT outer{};
  GetWindowRect(window, &outer);
  const Margins b = skin.Borders();
  const Rect strip{0, 0, outer.right - outer.left, b.Top};
  std::vector<TPixelBitmap> shots;
  for (const TSkinColour colour : {TSkinColour(RGB(255, 0, 0)), TSkinColour(RGB(0, 0, 255))}) {
    colours.TitleTextActiveColour = colour;
    RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    const TWindowDc dc = TWindowDc::Whole(window);
    shots.push_back(ReadDcPixels(dc.Get(), strip));
  }
  colours.TitleTextActiveColour = kept;
  RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  ASSERT_EQ(shots[0].Width(), strip.Width());
  ASSERT_EQ(shots[1].Height(), strip.Height());
  TInkBox shown;
  for (int y = 0; y < strip.Height(); ++y)
    for (int x = 0; x < strip.Width(); ++x)
      if (shots[0].Pixel(x, y) != shots[1].Pixel(x, y)) shown.Add(x, y);
  const TFontHandle font = CaptionFontAt(dpi);
  const TInkBox whole = TextInk(skin.CaptionText(), font.Get());
  SCOPED_TRACE("caption at " + std::to_string(dpi) + " DPI, strip " + std::to_string(strip.Width()) + "x" +
               std::to_string(strip.Height()));
  ASSERT_FALSE(shown.Empty()) << "no caption text shows";
  EXPECT_EQ(shown.Height(), whole.Height()) << "rows of strokes: shown from " << shown.Top << " to " << shown.Bottom;
  EXPECT_EQ(shown.Width(), whole.Width()) << "columns of strokes: shown from " << shown.Left << " to " << shown.Right;
  EXPECT_GE(shown.Left, b.Left);
  EXPECT_LT(shown.Right, strip.Width() - b.Right);
  for (const TWinSysButton* button : skin.Buttons()) {
    if (!button->Visible) continue;
    const RECT& r = button->Bounds;
    EXPECT_TRUE(shown.Right < r.left || shown.Left >= r.right || shown.Bottom < r.top || shown.Top >= r.bottom)
        << "the text runs under a caption button at " << r.left << "," << r.top;
  }
}

// One border piece of the window: its record at 96 DPI and at the window's DPI, where
// it lies. A pixel at either end of the piece (the parts that keep their size) is keyed
// as the 96-DPI picture's pixel nearest to its centre, in the frame the window shows;
// the middle stretches and is checked against the scaled picture only.
struct TKeyCheck {
  const TDataSkinBorder* Base = nullptr;    // 96 DPI
  const TDataSkinBorder* Scaled = nullptr;  // the window's DPI
  TFrameEdge Edge;
  Rect Place;  // in the window
};

inline bool Keyed(std::uint32_t pixel) { return (pixel & 0xFFFFFF) == (PixelOf(kKeyColor) & 0xFFFFFF); }

// The window's region is exactly the unkeyed pixels of its scaled pieces (the caption
// strip's, where its title and buttons may cover the key, only outside them), and at the
// pieces' ends the key is the 96-DPI picture's, pixel for nearest pixel.
inline void ExpectRegionFromScaledKey(const TWinSkinForm& skin, const TSkinDefinition& base,
                                      const TSkinDefinition& scaled, int dpi) {
  const HWND window = skin.Window();
  TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(window, region.Get()), ERROR) << "no window region";
  RECT outer{};
  GetWindowRect(window, &outer);
  const int W = outer.right - outer.left, H = outer.bottom - outer.top;
  const Margins b = skin.Borders();
  const FrameSkin from = FrameSkinOf(base), to = FrameSkinOf(scaled);
  const TKeyCheck pieces[] = {
      {from.Left, to.Left, TFrameEdge::feLeft, {0, 0, b.Left, H}},
      {from.Right, to.Right, TFrameEdge::feRight, {W - b.Right, 0, W, H}},
      {from.Bottom, to.Bottom, TFrameEdge::feBottom, {b.Left, H - b.Bottom, W - b.Right, H}},
      {from.Top, to.Top, TFrameEdge::feTop, {b.Left, 0, W - b.Right, b.Top}},
  };
  const auto underButton = [&](int x, int y) {
    for (const TWinSysButton* button : skin.Buttons())
      if (button->Visible && PtInRect(&button->Bounds, {x, y})) return true;
    return false;
  };
  int keyedSeen = 0;
  for (const TKeyCheck& piece : pieces) {
    ASSERT_NE(piece.Scaled, nullptr);
    if (piece.Scaled->Trans != 1) continue;
    const TPixelBitmap shown =
        RenderBorderPiece(piece.Edge, piece.Place.Width(), piece.Place.Height(), *piece.Scaled, skin.IsActive());
    const bool side = piece.Edge == TFrameEdge::feLeft || piece.Edge == TFrameEdge::feRight;
    const bool top = piece.Edge == TFrameEdge::feTop;
    // The 96-DPI frame the window shows, and the ends of the piece that map straight onto it.
    const int frames = std::max(piece.Base->FrameCount, 1);
    const int frame = !skin.IsActive() && frames > 1 ? 1 : 0;
    const int baseW = side ? piece.Base->Image.Width() / frames : piece.Base->Image.Width();
    const int baseH = side ? piece.Base->Image.Height() : piece.Base->Image.Height() / frames;
    const int scaledW = side ? piece.Scaled->Image.Width() / frames : piece.Scaled->Image.Width();
    const int scaledH = side ? piece.Scaled->Image.Height() : piece.Scaled->Image.Height() / frames;
    const int headEnd = side ? piece.Scaled->TopHeight : piece.Scaled->LeftWidth;
    const int tailLength = side ? piece.Scaled->BottomHeight : piece.Scaled->RightWidth;
    const int length = side ? piece.Place.Height() : piece.Place.Width();
    const auto nearest = [](int i, int source, int target) { return int((2LL * i + 1) * source / (2LL * target)); };
    int wrongRegion = 0, wrongKey = 0;
    std::string firstRegion, firstKey;
    for (int y = 0; y < shown.Height(); ++y)
      for (int x = 0; x < shown.Width(); ++x) {
        const int wx = piece.Place.Left + x, wy = piece.Place.Top + y;
        const bool keyed = Keyed(shown.Pixel(x, y));
        const bool outside = !PtInRegion(region.Get(), wx, wy);
        keyedSeen += keyed;
        // Title and buttons go over the caption strip's key, never under it.
        const bool mayCover = top && keyed && (underButton(wx, wy) || !outside);
        if (keyed != outside && !mayCover && wrongRegion++ == 0)
          firstRegion = std::to_string(wx) + "," + std::to_string(wy) + (keyed ? " keyed but shown" : " cut but opaque");
        // The ends against the 96-DPI picture.
        const int along = side ? y : x;
        const int tail = length - 1 - along;
        int pictureAlong = -1;
        if (along < headEnd) pictureAlong = along;
        else if (tail < tailLength) pictureAlong = (side ? scaledH : scaledW) - 1 - tail;
        if (pictureAlong < 0) continue;
        const int px = side ? nearest(x, baseW, scaledW) : nearest(pictureAlong, baseW, scaledW);
        const int py = side ? nearest(pictureAlong, baseH, scaledH) : nearest(y, baseH, scaledH);
        const bool baseKeyed = Keyed(piece.Base->Image.Pixel(side ? frame * baseW + px : px,
                                                             side ? py : frame * baseH + py));
        if (baseKeyed != keyed && wrongKey++ == 0)
          firstKey = std::to_string(wx) + "," + std::to_string(wy) + " from 96-DPI " + std::to_string(px) + "," +
                     std::to_string(py);
      }
    const char* names[] = {"", "left", "right", "top", "bottom"};
    SCOPED_TRACE(std::string(names[int(piece.Edge)]) + " piece at " + std::to_string(dpi) + " DPI");
    EXPECT_EQ(wrongRegion, 0) << "pixels where the region is not the key; the first at " << firstRegion;
    EXPECT_EQ(wrongKey, 0) << "end pixels keyed unlike their 96-DPI picture; the first at " << firstKey;
  }
  EXPECT_GT(keyedSeen, 0) << "the skin keys nothing out of its frame: nothing was compared";
}

}  // namespace kv::test
