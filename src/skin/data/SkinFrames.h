#pragma once
// Which frame of a skin picture strip a control in a given state draws, and the one call
// that draws it. Control skins ask FrameIndex for the frame and hand the record's picture
// (ElementImage and friends) to DrawElement; painting code never numbers frames itself.
//
// Frames count from 1. Where states combine, the first that applies wins:
//
//   push button     latched down 2, disabled 3, pressed 2, hot or focused 4, else 1
//   combo button, sunk edge, combo arrow   pressed 2, hot or focused 4, disabled 3, else 1
//                   (a disabled combo box that holds the focus shows it)
//   up-down arrow (first; the second adds 4)            disabled 3, pressed 2, hot 4, else 1
//   check box       disabled and checked, or indeterminate 4; disabled 3; checked 2; else 1
//   radio button    disabled and checked 4; disabled 3; checked 2; else 1
//   tab             selected 2, else 1
//   tab page frame  1 (of 1)
//   scroll thumb    dragged (or pressed) 2, else 1
//   caption button  pressed 2, hot 3, window inactive 4, else 1
//   MDI button      pressed 2, hot 4, else 1 (caption buttons the menu bar shows)
//   frame piece     window inactive 2, else 1 (border pieces, the picture behind the caption)
//   scroll arrow    left 1, right 5, up 9, down 13 (of 23); pressed adds 1
//   menu item       selected 4, else 1; a separator draws frame 2
//   size grip       5 (the cell after the combo arrows' four)
//
// The other kinds draw one frame whatever the state. StripFrameIndex also knows the
// strip: a frame it lacks becomes frame 1, so a caption button of fewer than four
// frames and a border of one look the same in an inactive window.
#include <algorithm>

#include "skin/data/SkinImage.h"

namespace kv {

class TDataSkinObject;
class TDataSkinBorder;
class TDataSkinButton;

enum class TStateFlags : unsigned {
  csNone = 0,
  csHot = 1u << 0,  // the mouse is over it
  csPressed = 1u << 1,
  csFocused = 1u << 2,
  csDisabled = 1u << 3,
  csChecked = 1u << 4,
  csIndeterminate = 1u << 5,  // a three-state check box's third state
  csSelected = 1u << 6,       // the tab in front
  csDragging = 1u << 7,       // a scroll thumb being dragged, or its bar scrolling
  csInactive = 1u << 8,       // the window it belongs to is not the active one (frame kinds)
  csLatched = 1u << 9,        // a speed button held down by its group
};
constexpr TStateFlags operator|(TStateFlags a, TStateFlags b) { return TStateFlags(unsigned(a) | unsigned(b)); }
constexpr TStateFlags& operator|=(TStateFlags& a, TStateFlags b) { return a = a | b; }
constexpr bool HasFlag(TStateFlags set, TStateFlags flag) { return (unsigned(set) & unsigned(flag)) != 0; }

// The skin section (and strip) each kind draws from is named after it.
enum class TElementKind {
  ekPushButton,     // Buttons
  ekCheckBox,       // Buttons, CheckImage
  ekRadioButton,    // Buttons, RadioImage
  ekComboButton,    // ComboButton
  ekSunkEdge,       // SunkEdge
  ekComboArrow,     // ExtraImages: the combo box's arrow glyph
  ekSizeGrip,       // ExtraImages: the status bar's size grip, after the combo arrows
  ekTab,            // Tabs
  ekTabPage,        // Tabs, Image2: the frame around a tab control's page
  ekUpDownFirst,    // UpDownVert, UpDownHorz and their Image2: the up or left arrow
  ekUpDownSecond,   // ... the down or right arrow
  ekProgressBar,    // Progress: the empty bar
  ekProgressFill,   // Progress: the filled part
  ekStatusLowered,  // StatusBarEdges: a panel's bevel
  ekStatusRaised,
  ekStatusFlat,
  ekHeader,         // Headerbar
  ekScrollTrack,    // HorzScroll, VertScroll
  ekScrollThumb,    // HorzScrollThumb, VertScrollThumb
  ekTrackbarThumb,  // TrackbarThumbHorz, TrackbarThumbVert
  ekCaptionButton,  // SysButtons
  ekMdiButton,      // SysButtons of Visibility 100: a maximised MDI child's buttons in the menu bar
  ekFramePiece,     // BorderLeft, BorderRight, BorderTop, BorderBottom, Title
  ekScrollLeft,     // Scrollbar: the arrow buttons at the ends of the bars
  ekScrollRight,
  ekScrollUp,
  ekScrollDown,
  ekMenuItem,       // MenuItem: a popup menu's item
  ekMenuSeparator,  // MenuItem: a separator line
};

// The frame (from 1) `kind` draws in `state`; flags a kind has no frame for are ignored.
int FrameIndex(TElementKind kind, TStateFlags state);
// The same for a strip of `frameCount` frames (below 1 counts as 1): a frame beyond the
// strip is frame 1.
int StripFrameIndex(TElementKind kind, TStateFlags state, int frameCount);

// How many frames the kind's strip holds, or 0 where the record says (check box and
// radio strips, scroll thumbs, caption buttons, frame pieces).
int FixedFrameCount(TElementKind kind);

// A picture as DrawElement takes it. It points into the record it was made from, so it
// must not outlive that record.
struct TElementImage {
  const TPixelBitmap* FStrip = nullptr;
  int FFrameCount = 1;        // below 1 counts as 1
  Margins FMargins;           // nine-slice margins, kept at their size
  bool FTile = false;         // centre repeated rather than stretched
  bool FTransparent = false;  // magenta left out
  bool FVertical = false;     // frames stacked rather than side by side

  TDrawFlags Flags() const {
    TDrawFlags flags = TDrawFlags::dfNone;
    if (FTile) flags = flags | TDrawFlags::dfTile;
    if (FTransparent) flags = flags | TDrawFlags::dfTransparent;
    if (FVertical) flags = flags | TDrawFlags::dfVertical;
    return flags;
  }
  // The same picture without margins or tiling: the frame stretched whole.
  TElementImage Whole() const {
    TElementImage whole = *this;
    whole.FMargins = {};
    whole.FTile = false;
    return whole;
  }
};

// Whether DrawElement draws anything: a target with area, a picture, and a frame that
// exists in the strip (out-of-range frames would otherwise paint a black block).
inline bool CanDraw(const Rect& target, const TElementImage& image, int frame) {
  if (target.Right <= target.Left || target.Bottom <= target.Top) return false;
  if (!image.FStrip || image.FStrip->Empty()) return false;
  if (frame < 1 || frame > std::max(image.FFrameCount, 1)) return false;
  const Rect source = FrameRect(*image.FStrip, image.FVertical, image.FFrameCount, frame);
  return source.Width() > 0 && source.Height() > 0;
}

// The record's Image with its frame count and margins; Trans 1 keys out magenta, Tile 1
// tiles the centre (other values count as off, as the model reads them).
TElementImage ElementImage(const TDataSkinObject& record);
// The record's Image2 (up-down arrows, progress chunk, mirrored combo button), drawn
// like its Image.
TElementImage SecondElementImage(const TDataSkinBorder& record);
// The glyph strips: CheckFrameCount or RadioFrameCount frames, drawn at the glyph's
// place without margins or tiling (the record's margins belong to the push button);
// Trans as for the push button.
TElementImage CheckBoxImage(const TDataSkinButton& record);
TElementImage RadioButtonImage(const TDataSkinButton& record);

// Frame `frame` of `image` at `target`, resized by nine slices.
void DrawElement(TPixelBitmap& canvas, const Rect& target, const TElementImage& image, int frame);
// Frame `frame` of `image` stretched whole over `target`, margins and tiling ignored.
void DrawElementStretched(TPixelBitmap& canvas, const Rect& target, const TElementImage& image, int frame);

}  // namespace kv
