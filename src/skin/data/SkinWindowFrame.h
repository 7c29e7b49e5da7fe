#pragma once
// The skinned window frame, all of it that needs no device: which caption buttons show
// and where, where the caption text goes, the border pieces and the caption strip as
// pixels, and the window region as rectangles. The form skin measures and draws the
// caption text, copies the pixels onto the window and makes the region from the
// rectangles (RegionFromRects in SkinGdi.h).
//
// Everything is in window coordinates: (0, 0) is the window's top-left corner and the
// caption strip is (0, 0, Width, Borders.Top), so a caption bitmap of that size takes
// button rectangles as they are.
//
//   +---+------------------ top piece -------------------+---+
//   |   |  [icon]  caption text           [_] [#] [x]    |   |   caption strip
//   |   +------------------------------------------------+   |
//   | L |  menu bar                                      | R |   MenuBarHeight
//   |   |  client                                        |   |
//   |   +---------------- bottom piece ------------------+   |
//   +---+                                                +---+
//
// The side pieces span the full height, corners included; the top and bottom pieces lie
// between them.
//
// Painting a caption, in this order (text goes between the layers, so buttons stay on
// top of a long caption):
//   placement = PlaceCaption(strip, measured text, title, window, previous.RightmostLeft)
//   layout    = LayoutButtons(skin, window, placement.Text, previous)
//   DrawCaptionBackground; the text at placement.Inner; DrawCaptionButtons
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "skin/data/SkinFrames.h"
#include "skin/data/SkinImage.h"

namespace kv {

class TDataSkinBorder;
class TDataSkinObject;
class TDataSkinSysButton;
class TDataSkinTitle;
class TSkinDefinition;

// The values match the form skin's frame-type byte.
enum class TFrameType : std::uint8_t {
  ftEdged = 0,        // a sizing or edged window
  ftCaptionless = 2,  // a popup without caption: no frame at all
  ftPlain = 3,        // neither: caption buttons of Visibility 0 stay hidden
};

// The values match the form skin's caption-flags byte.
enum class TCaptionFlags : unsigned { cfNone = 0, cfMaxBox = 1, cfMinBox = 2, cfSysMenu = 8 };
constexpr TCaptionFlags operator|(TCaptionFlags a, TCaptionFlags b) { return TCaptionFlags(unsigned(a) | unsigned(b)); }
constexpr bool HasFlag(TCaptionFlags set, TCaptionFlags flag) { return (unsigned(set) & unsigned(flag)) != 0; }

// The four border pieces, numbered as the form skin numbers them.
enum class TFrameEdge { feLeft = 1, feRight = 2, feTop = 3, feBottom = 4 };

// Whether the frame reads right to left by itself: caption text right-aligned, menu bar
// items and a maximised MDI child's buttons from the right, the caption buttons where
// the skin puts them. That is extended style bit 0x4000 (WS_EX_LEFTSCROLLBAR, which a
// right-to-left framework form has). A window the system lays out mirrored
// (WS_EX_LAYOUTRTL, 0x400000) never does: its DC mirrors the whole left-to-right frame
// already, and a second mirroring would undo it.
constexpr bool FrameReadsRightToLeft(std::uint32_t exStyle) {
  return (exStyle & 0x4000u) != 0 && (exStyle & 0x400000u) == 0;
}

// What the frame needs to know about its window.
struct FrameWindow {
  TFrameType FrameType = TFrameType::ftEdged;
  TCaptionFlags CaptionFlags = TCaptionFlags::cfNone;
  bool Active = true;
  bool Maximized = false;
  bool RightToLeft = false;              // FrameReadsRightToLeft
  bool ActiveMdiChildMaximized = false;  // an MDI frame whose active child is maximised
  bool Popup = false;                    // WS_POPUP
  int MenuBarHeight = 0;                 // 0 without a skinned menu bar
  int MenuRowHeight = 0;                 // one row of a bar wrapped onto several; 0: the whole bar
  Margins Borders;                       // left width, top height (caption strip), right width, bottom height
  int Width = 0;
  int Height = 0;
};

// The skin records the frame draws from. Pointers may be null (no record: nothing drawn,
// no transparency); they point into the skin model and must not outlive it.
struct FrameSkin {
  const TDataSkinBorder* Left = nullptr;
  const TDataSkinBorder* Right = nullptr;
  const TDataSkinBorder* Top = nullptr;
  const TDataSkinBorder* Bottom = nullptr;
  const TDataSkinTitle* Title = nullptr;
  std::span<const std::unique_ptr<TDataSkinSysButton>> Buttons;  // in record order
  const TDataSkinObject* MenuBar = nullptr;                      // its LeftWidth shifts MDI buttons

  const TDataSkinBorder* Edge(TFrameEdge edge) const;
};
FrameSkin FrameSkinOf(const TSkinDefinition& skin);
// The frame's border sizes: each edge picture's frame size across the edge (a side
// picture's width, a top or bottom picture's height, over its frame count); 0 without one.
Margins FrameBordersOf(const FrameSkin& skin);

struct Extent {
  int Width = 0;
  int Height = 0;
  friend constexpr bool operator==(const Extent&, const Extent&) = default;
};

// ---- Caption buttons -------------------------------------------------------------------

// Visibility and Visibility1 must both allow the button (the first mostly asks for the
// system menu as well); Action 1 (maximise) also needs cfMaxBox, Action 2 (minimise)
// cfMinBox. Values 5, 10, 11 and any not listed hide it, 200 .. 2000 show it always:
//
//   value  Visibility                              Visibility1
//   0      not ftPlain (Action 0: and cfSysMenu)   always
//   1 / 2  maximised / not maximised               the same
//   3 / 4  active / inactive                       the same
//   6 / 7  cfMaxBox and cfSysMenu / no cfMaxBox     cfMaxBox / no cfMaxBox
//   8 / 9  cfMinBox and cfSysMenu / no cfMinBox     cfMinBox / no cfMinBox
//   100    ActiveMdiChildMaximized, with a menu bar as Visibility says
bool IsButtonVisible(const TDataSkinSysButton& button, const FrameWindow& window);

struct ButtonPlace {
  Rect Bounds;           // window coordinates
  bool Visible = false;  // hit testing skips hidden buttons, whatever their Bounds
};
struct ButtonLayout {
  std::vector<ButtonPlace> Buttons;  // one per FrameSkin::Buttons entry
  int RightmostLeft = 0;             // largest left edge of the Align 1 buttons, else 0
};

// Places each visible button with a picture, one frame (Image width / FrameCount) by the
// picture's height, by Align:
//   0      (XCoord, YCoord)
//   1      (Width - XCoord, YCoord), from the right edge
//   2, 8   left of the caption text, XCoord apart
//   3, 9   right of the caption text, XCoord apart
//   100    in the menu bar's first row, vertically centred, XCoord (plus the menu bar's
//          LeftWidth) in from the right border, or from the left one with right-to-left
//   other  (0, 0)
// A hidden button, or one without a picture, keeps its rectangle from `previous`.
// `captionText` is PlaceCaption's Text.
ButtonLayout LayoutButtons(const FrameSkin& skin, const FrameWindow& window, const Rect& captionText,
                           const ButtonLayout& previous);

// How far in from the menu bar's end (its right end; right to left, its left one) the
// buttons that show on the bar (Visibility and Align 100) reach: what the bar's first row
// keeps free for them. 0 when none shows.
int MenuBarButtonsReserve(const FrameSkin& skin, const FrameWindow& window);

// One caption button at `target`, stretched whole, magenta left out: the frame of its
// state (csPressed, csHot, csInactive; hot is frame 4 for Visibility 100), or for an icon
// button (Action 3 or 11) `icon` as a single frame, whatever its own picture holds.
void DrawCaptionButton(TPixelBitmap& canvas, const Rect& target, const TDataSkinSysButton& button, TStateFlags state,
                       const TPixelBitmap* icon);

// ---- Caption text ----------------------------------------------------------------------

struct CaptionPlacement {
  Rect Text;   // the caption text rectangle: button layout and hit testing read it
  Rect Back;   // where the Title picture goes: Text's columns, the strip's rows
  Rect Inner;  // Text less TextBackLeft and TextBackRight: where the text is drawn
};

// Where the caption goes in `strip` (the caption strip between the side borders).
// `measured` is the drawn text's extent (the prefix, one space and the caption, single
// line); TextBackLeft + TextBackRight widen it. Across, by TextAlignment: 0 the text
// shift (Title's LeftWidth) from the left, 1 centred, 2 the right clip (RightWidth) from
// the right, others at the left edge; right-to-left always as 2. Down: centred, plus
// half the vertical shift (TopHeight); halves round toward zero.
//
// The right clip also bounds the text's right edge, except for popup windows: theirs is
// not clipped, but reaches out to 5 pixels short of `rightmostButtonLeft` (the previous
// layout's RightmostLeft) when it stops short of that. So a popup's caption may run under
// the right-aligned buttons, which are drawn over it. A clipped rectangle can end up
// inverted; nothing is drawn in it then.
CaptionPlacement PlaceCaption(const Rect& strip, Extent measured, const TDataSkinTitle& title,
                              const FrameWindow& window, int rightmostButtonLeft);

// ---- Pixels ----------------------------------------------------------------------------

// One border piece, width x height, nine slices of the record's picture: frames side by
// side for the left and right pieces, stacked for the top and bottom ones; the centre
// tiled unless the record's Tile (the edge's stretch switch) is 1; frame 1 for an active
// window, 2 for an inactive one when the strip has it. Magenta stays in: the region is
// cut from it. A negative or empty size gives an empty bitmap; a record without a
// picture a black piece.
TPixelBitmap RenderBorderPiece(TFrameEdge edge, int width, int height, const TDataSkinBorder& record, bool active);

// The caption strip's first layer, onto `caption` (window coordinates): the top piece
// over (left width, 0, Width - right width, top height), then the Title picture over
// placement.Back (three slices, frames stacked, TextBackLeft and TextBackRight kept at
// their size, magenta left out). The side borders' columns keep what `caption` held.
void DrawCaptionBackground(TPixelBitmap& caption, const FrameSkin& skin, const FrameWindow& window,
                           const CaptionPlacement& placement);

// The second layer: every visible button with a picture at rest (frame 4 in an inactive
// window when its strip has one), except those of Visibility 100, which the menu bar
// draws.
void DrawCaptionButtons(TPixelBitmap& caption, const FrameSkin& skin, const FrameWindow& window,
                        const ButtonLayout& layout, const TPixelBitmap* icon);

// ---- Window region ---------------------------------------------------------------------

// The window region as batches of rectangles whose union it is (each batch disjoint
// within itself, at most kRegionBatch rectangles). With no edge record of Trans 1: the
// whole window. Otherwise the client area (inside the borders) and, unless
// ftCaptionless, the four edges: each edge of Trans 1 as the pixels of its rendered piece
// that are not magenta (tolerance 1), the top one read from `caption` when given (the
// painted caption strip, Width x top height, buttons and all); every other edge, and
// pieces too thin to matter (a side piece of height 1, a bottom or top piece of height
// 1), as its whole rectangle. Rectangles without area are left out; an empty window
// gives no batches. A `caption` of another size is stale and not used.
std::vector<TRegionBatch> FrameRegionRects(const FrameWindow& window, const FrameSkin& skin,
                                           const TPixelBitmap* caption);

enum class TRegionFlags : unsigned { rfNone = 0, rfMdiChild = 1, rfRefreshing = 2 };
constexpr TRegionFlags operator|(TRegionFlags a, TRegionFlags b) { return TRegionFlags(unsigned(a) | unsigned(b)); }
constexpr bool HasFlag(TRegionFlags set, TRegionFlags flag) { return (unsigned(set) & unsigned(flag)) != 0; }

// Whether the region built for `built` must be made again for a window of `window` size:
// not for an empty window; not for the same size, since building walks the edge pixels,
// unless the window is an MDI child or the skin is being refreshed. (An MDI child that
// is maximised or minimised gets no region at all; that is the caller's test.)
bool RegionRebuildNeeded(Extent window, Extent built, TRegionFlags flags);

}  // namespace kv
