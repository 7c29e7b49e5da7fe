#pragma once
// Pixel tests of what a window shows: capture it, render what it should show with the
// portable painters, compare. A failure names the first differing pixel and writes both
// pictures (and a difference map) beside the test program, to be opened and looked at.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/PixelBitmap.h"

namespace kv::test {

// The client area as it is on the screen (a block transfer from the window's DC).
TPixelBitmap CaptureClient(HWND wnd);
// The whole window, frame included (from GetWindowDC).
TPixelBitmap CaptureWindow(HWND wnd);
// The whole window as the screen shows it: a mirrored window's DC (WS_EX_LAYOUTRTL) is
// read without its mirroring, so column 0 is the window's left edge on the screen.
TPixelBitmap CaptureWindowShown(HWND wnd);
// What the window paints when asked to print itself (PrintWindow), client area or all.
TPixelBitmap PrintedWindow(HWND wnd, bool clientOnly);

// Equal when every component differs by at most `tolerance`. On failure, writes
// <name>.expected.bmp, <name>.actual.bmp and <name>.diff.bmp next to the test program.
::testing::AssertionResult PixelsMatch(const TPixelBitmap& expected, const TPixelBitmap& actual,
                                       const std::string& name, int tolerance = 0);
// The same for the part of `actual` at `area` (in `actual`'s coordinates).
::testing::AssertionResult PixelsMatchAt(const TPixelBitmap& expected, const TPixelBitmap& actual, const Rect& area,
                                         const std::string& name, int tolerance = 0);

// How many pixels of `area` (clipped to the picture) lie nearer to `ink` than to `ground`
// (both 0x00RRGGBB): the strokes of a text written in `ink` on `ground`, its smoothed
// edges included.
int CountInk(const TPixelBitmap& picture, const Rect& area, std::uint32_t ink, std::uint32_t ground);
// A text's strokes column by column: for each column of `area`, how many of its pixels lie
// nearer to `ink` than to the ground of their row (the row's median colour in `area`, so
// a ground that changes from row to row, like a gradient, is no ink). First and Last are
// the outermost columns with any (relative to area.Left), -1 without ink.
struct TInkColumns {
  std::vector<int> Counts;
  int First = -1;
  int Last = -1;
  int Width() const { return First < 0 ? 0 : Last - First + 1; }
  int Total() const;
};
TInkColumns InkColumns(const TPixelBitmap& picture, const Rect& area, std::uint32_t ink);
// `text` drawn the plain way, left to right, in `font` and `ink` on `ground`: its ink.
// (Smoothed light text on a dark ground looks bolder than dark on light: compare like
// with like.)
TInkColumns ReferenceInk(const std::wstring& text, HFONT font, std::uint32_t ink, std::uint32_t ground);
// How `shown` and `reference` differ stroke by stroke, their first ink columns laid over
// each other: the sum of the column counts' differences. `reversed` lays the reference's
// last column over `shown`'s first instead (text read back to front).
int InkDistance(const TInkColumns& shown, const TInkColumns& reference, bool reversed);

// Every pixel of the one-pixel ring along the edge of `area` is `pixel`; a failure names
// the first that is not and how many are not.
::testing::AssertionResult RingIs(const TPixelBitmap& picture, const Rect& area, std::uint32_t pixel,
                                  const std::string& name);
// `with` and `without` (the same window, a focus ring shown and not) differ by a dotted
// ring and nothing else: every differing pixel lies on the edge of one rectangle at least
// 6x6, and each of its four sides has at least a third of its pixels differing. `ring`
// receives that rectangle.
::testing::AssertionResult DiffersByDottedRing(const TPixelBitmap& with, const TPixelBitmap& without,
                                               const std::string& name, Rect* ring = nullptr);
// Where a group box's caption text lies in its client area: the text's extent in the
// box's font, eight pixels in, at the top (the gap the box leaves in its line).
Rect BoxCaptionArea(HWND box);

}  // namespace kv::test
