#pragma once
// What sets the generator's skins apart where they share picture makers: the window
// frame's geometry and colours, the caption buttons' faces, the MDI buttons, and the
// up-down, scroll-bar and track-bar pictures. Each skin adds its other pictures and its
// definition text.
#include <string>
#include <vector>

#include "SkinPaint.h"
#include "SkinPictures.h"

namespace kv::skingen {

// A caption button in one of its six frames (1 normal, 2 pressed, 3 hot, 4 inactive
// window, 5 disabled, 6 as 1).
struct TCaptionFace {
  bool Boxed = false;  // a box behind the glyph
  TBox Box{kBlack, kBlack, kWhite, 0.0, {}};
  bool Inactive = false;  // drawn over the inactive caption
  TRgb Ink = kWhite;
  bool Shadow = false;  // a faint shadow under the glyph keeps it crisp on light fills
  TRgb Under = kFace;   // what soft glyph pixels over magenta blend with
};

struct TFrameLook {
  int Caption = 30;  // caption rows: the top piece's frame height
  int Side = 4;      // side border width
  int Bottom = 4;    // bottom border rows
  double TopRadius = 6, BottomRadius = 3;
  TRgb (*CaptionRow)(int y, bool active) = nullptr;     // row 0 is the outline
  TRgb (*BorderRing)(int ring, bool active) = nullptr;  // from the outside in

  int ButtonWidth = 20, ButtonHeight = 15;
  int ButtonTop = 8;           // the caption row the buttons are drawn at
  int GlyphX = 0, GlyphY = 0;  // glyph shift from its place in a 20 x 15 button
  TCaptionFace (*ButtonFace)(int frame, bool close) = nullptr;
  TRgb GlyphShadow{20, 44, 70};
  // 2: the same frame drawn at double resolution, for the `@2x` pictures: every size
  // doubled, arcs and button faces drawn anew at that size, the rows' colours and the
  // glyphs' pixels doubled.
  int Scale = 1;
};

// The three MDI buttons of a maximised child, in the menu bar: 12 cells, four each for
// minimise, restore and close (1 normal, 2 pressed, 3 and 4 hot).
struct TMdiLook {
  int Width = 15, Height = 10;
  int GlyphX = 0, GlyphY = 0;  // glyph shift from its place in a 15 x 10 cell
  TRgb Back;                   // the menu bar behind the cells
  TBox Pressed, Hot;
  TRgb Ink, HotInk;
  TRgb HotUnder;  // what the close glyph's soft pixels blend with when pressed or hot
};

// Up-downs, scroll bars and track-bar thumbs. State quadruples are normal, pressed,
// disabled, hot; thumbs are normal, dragged, hot; track-bar thumbs hot, normal,
// pressed, disabled, focused.
struct TControlLook {
  TRgb Face;   // what keyed pictures sit on
  TRgb Track;  // the scroll-bar track
  TBox SpinBoxes[4];
  TRgb SpinInks[4];
  TRgb GlyphUnder;  // soft glyph pixels over magenta blend with this
  TBox ArrowBoxes[4];
  TRgb ArrowInks[4];
  TRgb TrackTints[4];
  TRgb Sheen;  // the track brightens towards its far edge ...
  double SheenAmount;
  double TrackEdge;  // ... and its first line is darker by this much
  int ThumbFrames;   // scroll thumbs: 1 to 3
  TGradient ThumbFills[3];
  TRgb ThumbBorders[3];
  TRgb ThumbGlow;
  double ThumbGlowAlpha;
  TGradient TrackThumbFills[5];
  TRgb TrackThumbBorders[5];
  double TrackThumbGlow;
  TRgb TrackThumbFocus;
};

// Frame edges f-*.bmp and the caption buttons ctrl-close, -max, -restore, -min.
void AddFrameEdges(const TFrameLook& look, std::vector<TSkinPicture>& out);
void AddCaptionButtons(const TFrameLook& look, std::vector<TSkinPicture>& out);
TSkinPicture MdiButtons(const TMdiLook& look);
// spinner-*.bmp, arrows.bmp, the scroll tracks and thumbs, trackbarthumb*.bmp.
void AddScrollAndRangePictures(const TControlLook& look, std::vector<TSkinPicture>& out);

// A pixel near a rounded outer corner of the window, (dx, dy) counted from the corner
// inwards: the outline follows the arc, what lies outside it is magenta.
std::uint32_t CornerPixel(int dx, int dy, double radius, TRgb inside, TRgb outline, int outlineWidth = 1);

// Arrow glyphs both skins stamp (scroll arrows, up-downs).
using TGlyphRows = std::initializer_list<std::string_view>;
inline const TGlyphRows kArrowLeft{"...+", "..+#", ".+##", "####", ".+##", "..+#", "...+"};
inline const TGlyphRows kArrowRight{"+...", "#+..", "##+.", "####", "##+.", "#+..", "+..."};
inline const TGlyphRows kArrowUp{"..+#+..", ".+###+.", "+#####+", "#######"};
inline const TGlyphRows kArrowDown{"#######", "+#####+", ".+###+.", "..+#+.."};

}  // namespace kv::skingen
