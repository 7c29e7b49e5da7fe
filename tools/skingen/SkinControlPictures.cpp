// Progress bars, up-downs, scroll bars, track-bar thumbs, status bar and list header.
#include <algorithm>
#include <cstdlib>
#include <string>

#include "SkinLook.h"
#include "SkinPalette.h"

namespace kv::skingen {
namespace {

// Progress: 2 frames of 66 x 13 drawn keyed over the face (1 the empty groove, 2 the
// filled part, with rounded ends at both margins).
TSkinPicture Progress() {
  TSkinPicture p{"bg-progress.bmp", TPixelBitmap(132, 13, kKey.Pixel()), 2, false};
  const TBackdrop face = Plain(kFace, true);
  const TCorners pill = TCorners::All(4.5);
  DrawBox(p.Bitmap, {0, 0, 66, 13},
          {kEdge, {{0.0, {214, 211, 198}}, {0.3, {238, 236, 228}}, {1.0, {250, 249, 245}}}, kWhite, 0.0, pill}, face);
  DrawBox(p.Bitmap, {66, 0, 132, 13},
          {{40, 96, 136},
           {{0.0, {196, 224, 238}}, {0.45, {140, 184, 208}}, {0.55, {112, 162, 192}}, {1.0, {72, 132, 172}}},
           kWhite,
           0.35,
           pill},
          face);
  return p;
}

// A chunk for the chunk style of the progress bar: 8 x 7, a 6-px block and a 2-px gap.
// The definition keeps it switched off (the two-frame style is ours).
TSkinPicture ProgressChunk() {
  TSkinPicture p{"bg-progress-chunk.bmp", TPixelBitmap(8, 7, kKey.Pixel()), 1, false};
  DrawBox(p.Bitmap, {0, 0, 6, 7},
          {{52, 108, 148}, {{0.0, {170, 206, 226}}, {1.0, {80, 138, 176}}}, kWhite, 0.0, TCorners::All(1.2)},
          Plain({240, 238, 230}, true));
  return p;
}

// Up-down buttons, 8 frames: 1-4 the first button (up or left), 5-8 the second, each
// normal, pressed, disabled, hot. The arrows are the glyph strips below.
TSkinPicture Spinner(const TControlLook& look, bool horizontal) {
  const int w = horizontal ? 9 : 16, h = horizontal ? 21 : 10;
  TSkinPicture p{horizontal ? "spinner-h.bmp" : "spinner-v.bmp", TPixelBitmap(8 * w, h, kKey.Pixel()), 8, false};
  for (int f = 0; f < 8; ++f) {
    TBox box = look.SpinBoxes[f % 4];
    const bool first = f < 4;
    box.Corners = horizontal ? (first ? TCorners::Left(3) : TCorners::Right(3))
                             : (first ? TCorners::Top(3) : TCorners::Bottom(3));
    DrawBox(p.Bitmap, {f * w, 0, f * w + w, h}, box, Plain(look.Face, horizontal));
  }
  return p;
}

TSkinPicture SpinnerGlyphs(const TControlLook& look, bool horizontal) {
  const int w = horizontal ? 4 : 7, h = horizontal ? 7 : 4;
  TSkinPicture p{horizontal ? "spinner-h-glyphs.bmp" : "spinner-v-glyphs.bmp", TPixelBitmap(8 * w, h, kKey.Pixel()), 8,
                 false};
  for (int f = 0; f < 8; ++f) {
    const TRgb ink = look.SpinInks[f % 4];
    const bool first = f < 4;
    if (horizontal)
      Stamp(p.Bitmap, f * w, 0, first ? kArrowLeft : kArrowRight, ink, look.GlyphUnder);
    else
      Stamp(p.Bitmap, f * w, 0, first ? kArrowUp : kArrowDown, ink, look.GlyphUnder);
  }
  return p;
}

// Scroll-bar arrow buttons: 23 frames of 16 x 16. 1-4 left, 5-8 right, 9-12 up,
// 13-16 down (each normal, pressed, disabled, hot), 17-20 the bare button, 21-23 unused.
// No magenta: the bar is composed over the scroll-bar colour, which must not show
// through; the corners are blended into the track instead.
TSkinPicture ScrollArrows(const TControlLook& look) {
  TSkinPicture p{"arrows.bmp", TPixelBitmap(23 * 16, 16, look.Track.Pixel()), 23, false};
  for (int f = 0; f < 20; ++f) {
    const int s = f % 4, x0 = f * 16;
    DrawBox(p.Bitmap, {x0, 0, x0 + 16, 16}, look.ArrowBoxes[s], Plain(look.Track));
    const TRgb under = FromPixel(p.Bitmap.Pixel(x0 + 8, 8));
    const TRgb ink = look.ArrowInks[s];
    switch (f / 4) {
      case 0: Stamp(p.Bitmap, x0 + 6, 4, kArrowLeft, ink, under); break;
      case 1: Stamp(p.Bitmap, x0 + 6, 4, kArrowRight, ink, under); break;
      case 2: Stamp(p.Bitmap, x0 + 4, 6, kArrowUp, ink, under); break;
      case 3: Stamp(p.Bitmap, x0 + 4, 6, kArrowDown, ink, under); break;
      default: break;
    }
  }
  return p;
}

// The track's colour across the bar: a darker first line, then a sheen towards the far edge.
TRgb TrackShade(const TControlLook& look, TRgb tint, int across, int span) {
  if (across == 0) return Mix(tint, kBlack, look.TrackEdge);
  return Mix(tint, look.Sheen, look.SheenAmount * across / (span - 1));
}

// Tracks: 4 frames (1 the track; 2 pressed, 3 disabled, 4 hot are spare looks).
TSkinPicture Track(const TControlLook& look, bool vertical) {
  const int w = vertical ? 16 : 24, h = vertical ? 18 : 16;
  TSkinPicture p{vertical ? "vscroll_back.bmp" : "hscroll_back.bmp", TPixelBitmap(4 * w, h), 4, false};
  for (int f = 0; f < 4; ++f)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const int across = vertical ? x : y, span = vertical ? w : h;  // position across the bar
        p.Bitmap.SetPixel(f * w + x, y, TrackShade(look, look.TrackTints[f], across, span).Pixel());
      }
  return p;
}

// Thumbs: ThumbFrames frames (1 normal, 2 dragged, 3 hot), inset one pixel from the
// track's edges.
TSkinPicture Thumb(const TControlLook& look, bool vertical) {
  const int w = vertical ? 16 : 42, h = vertical ? 24 : 16, n = std::clamp(look.ThumbFrames, 1, 3);
  TSkinPicture p{vertical ? "vscroll_bar.bmp" : "hscroll_bar.bmp", TPixelBitmap(n * w, h), n, false};
  for (int f = 0; f < n; ++f) {
    TPixelBitmap cell(vertical ? h : w, vertical ? w : h);  // drawn lying down, turned for the vertical bar
    for (int y = 0; y < cell.Height(); ++y)
      FillGradient(cell, {0, y, cell.Width(), y + 1}, TrackShade(look, look.Track, y, cell.Height()));
    DrawBox(cell, {1, 1, cell.Width() - 1, cell.Height() - 1},
            {look.ThumbBorders[f], look.ThumbFills[f], look.ThumbGlow, look.ThumbGlowAlpha, TCorners::All(3)},
            {[&](int y) { return FromPixel(cell.Pixel(0, y)); }, false});
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) p.Bitmap.SetPixel(f * w + x, y, vertical ? cell.Pixel(y, x) : cell.Pixel(x, y));
  }
  return p;
}

// Track-bar thumbs: 5 frames (1 hot, 2 normal (the one the track bar draws), 3 pressed,
// 4 disabled, 5 focused). "horz"/"vert" are plain, the others point where they say.
enum class TPoint { tpNone, tpUp, tpDown, tpLeft, tpRight };

TSkinPicture TrackThumb(const TControlLook& look, const char* name, bool vertical, TPoint point) {
  const int w = vertical ? 21 : 11, h = vertical ? 11 : 21;
  TSkinPicture p{name, TPixelBitmap(5 * w, h, kKey.Pixel()), 5, false};
  const TGradient* fills = look.TrackThumbFills;
  const TRgb* borders = look.TrackThumbBorders;
  for (int f = 0; f < 5; ++f) {
    // Drawn upright (pointing down when it points), then turned or flipped into place.
    const int cw = vertical ? h : w, ch = vertical ? w : h;
    TPixelBitmap cell(cw, ch, kKey.Pixel());
    const bool pointed = point != TPoint::tpNone;
    DrawBox(cell, {0, 0, cw, pointed ? ch - 4 : ch},
            {borders[f], fills[f], kWhite, look.TrackThumbGlow, pointed ? TCorners::Top(2.5) : TCorners::All(2.5)},
            Plain(look.Face, true));
    if (pointed) {
      // The point: rows ch-5 .. ch-1 narrow to one pixel, outlined.
      for (int i = 0; i < 5; ++i) {
        const int y = ch - 5 + i, half = cw / 2 - i;
        for (int x = 0; x < cw; ++x) {
          const int d = x - cw / 2;
          if (std::abs(d) > half)
            cell.SetPixel(x, y, kKey.Pixel());
          else if (std::abs(d) == half || i == 4)
            cell.SetPixel(x, y, borders[f].Pixel());
          else
            cell.SetPixel(x, y, fills[f].Row(ch - 5, ch).Pixel());
        }
      }
    }
    if (f == 4)  // focused: a dotted line down the middle
      for (int y = 3; y < ch - (pointed ? 6 : 3); y += 2) cell.SetPixel(cw / 2, y, look.TrackThumbFocus.Pixel());
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const int sx = vertical ? y : x;
        const int sy = vertical ? (point == TPoint::tpLeft ? w - 1 - x : x) : (point == TPoint::tpUp ? h - 1 - y : y);
        p.Bitmap.SetPixel(f * w + x, y, cell.Pixel(sx, sy));
      }
  }
  return p;
}

const TControlLook kKoraventControls{
    kFace,
    kTrack,
    {{kEdge, {{0.0, {255, 255, 254}}, {1.0, {228, 224, 208}}}, kWhite, 0.6, {}},
     {kAccentDeep, {{0.0, {192, 214, 228}}, {1.0, {218, 232, 240}}}, kWhite, 0.0, {}},
     {kEdgeDisabled, TRgb{244, 242, 236}, kWhite, 0.0, {}},
     {kAccent, {{0.0, {255, 255, 255}}, {1.0, {210, 228, 238}}}, kWhite, 0.6, {}}},
    {kGlyph, kAccentDeep, kGlyphDisabled, {24, 70, 110}},
    kWhite,
    {{{150, 158, 162}, {{0.0, {255, 255, 253}}, {1.0, {228, 224, 209}}}, kWhite, 0.6, TCorners::All(2.5)},
     {kAccentDeep, {{0.0, {190, 212, 226}}, {1.0, {216, 230, 238}}}, kWhite, 0.0, TCorners::All(2.5)},
     {kEdgeDisabled, TRgb{242, 240, 233}, kWhite, 0.0, TCorners::All(2.5)},
     {kAccent, {{0.0, {255, 255, 255}}, {1.0, {208, 227, 237}}}, kWhite, 0.6, TCorners::All(2.5)}},
    {kGlyph, {20, 60, 96}, kGlyphDisabled, {20, 66, 106}},
    {kTrack, {226, 222, 206}, {242, 240, 233}, {232, 236, 234}},
    kWhite,
    0.35,
    0.08,
    3,
    {{{0.0, {204, 226, 238}}, {0.5, {164, 198, 216}}, {1.0, {133, 174, 194}}},
     {{0.0, {150, 190, 212}}, {1.0, {96, 148, 178}}},
     {{0.0, {222, 238, 246}}, {0.5, {184, 214, 230}}, {1.0, {150, 190, 210}}}},
    {{84, 128, 154}, {40, 96, 136}, {70, 124, 160}},
    kWhite,
    0.45,
    {{{0.0, {240, 248, 252}}, {1.0, {170, 206, 224}}},
     {{0.0, {226, 240, 248}}, {1.0, {140, 184, 208}}},
     {{0.0, {150, 190, 212}}, {1.0, {104, 156, 186}}},
     {TRgb{236, 234, 226}},
     {{0.0, {226, 240, 248}}, {1.0, {140, 184, 208}}}},
    {kAccent, {60, 112, 150}, kAccentDeep, kEdgeDisabled, kAccentDeep},
    0.5,
    kAccentDeep,
};

// Status bar panels: 3 frames of 32 x 32, the top 5 rows fixed (1 lowered, 2 raised,
// 3 no bevel).
TSkinPicture StatusBar() {
  TSkinPicture p{"bg-statusbar.bmp", TPixelBitmap(96, 32, kFace.Pixel()), 3, false};
  FillGradient(p.Bitmap, {0, 0, 32, 1}, TRgb{196, 190, 170});
  FillGradient(p.Bitmap, {0, 1, 32, 2}, TRgb{250, 248, 240});
  FillGradient(p.Bitmap, {0, 2, 32, 32}, {{0.0, {236, 231, 212}}, {1.0, {228, 222, 202}}});
  FillGradient(p.Bitmap, {32, 0, 64, 1}, kWhite);
  FillGradient(p.Bitmap, {32, 1, 64, 32}, {{0.0, {247, 245, 236}}, {1.0, {234, 229, 210}}});
  FillGradient(p.Bitmap, {64, 0, 96, 1}, TRgb{220, 214, 194});
  return p;
}

// List headers: 5 frames of 75 x 23, one fixed column on the right (the divider)
// (1 normal, 2 hot, 3 pressed, 4 disabled, 5 sorted).
TSkinPicture ListHeader() {
  TSkinPicture p{"bg-listheader.bmp", TPixelBitmap(375, 23), 5, false};
  const TGradient fills[5] = {
      {{0.0, {255, 255, 252}}, {1.0, {236, 232, 218}}}, {{0.0, {255, 255, 255}}, {1.0, {222, 236, 244}}},
      {{0.0, {222, 218, 202}}, {1.0, {240, 237, 226}}}, {TRgb{244, 242, 236}},
      {{0.0, {246, 250, 252}}, {1.0, {228, 238, 244}}},
  };
  const TRgb bottoms[5] = {{214, 208, 190}, kHilight, {196, 190, 170}, {226, 222, 210}, kAccent};
  for (int f = 0; f < 5; ++f) {
    const int x0 = f * 75;
    FillGradient(p.Bitmap, {x0, 0, x0 + 75, 21}, fills[f]);
    FillGradient(p.Bitmap, {x0, 21, x0 + 75, 23}, bottoms[f]);
    FillGradient(p.Bitmap, {x0 + 74, 3, x0 + 75, 19}, TRgb{200, 196, 180});
  }
  return p;
}

}  // namespace

void AddScrollAndRangePictures(const TControlLook& look, std::vector<TSkinPicture>& out) {
  out.push_back(Spinner(look, true));
  out.push_back(Spinner(look, false));
  out.push_back(SpinnerGlyphs(look, true));
  out.push_back(SpinnerGlyphs(look, false));
  out.push_back(ScrollArrows(look));
  out.push_back(Track(look, false));
  out.push_back(Track(look, true));
  out.push_back(Thumb(look, false));
  out.push_back(Thumb(look, true));
  out.push_back(TrackThumb(look, "trackbarthumbhorz.bmp", false, TPoint::tpNone));
  out.push_back(TrackThumb(look, "trackbarthumbup.bmp", false, TPoint::tpUp));
  out.push_back(TrackThumb(look, "trackbarthumbdown.bmp", false, TPoint::tpDown));
  out.push_back(TrackThumb(look, "trackbarthumbvert.bmp", true, TPoint::tpNone));
  out.push_back(TrackThumb(look, "trackbarthumbleft.bmp", true, TPoint::tpLeft));
  out.push_back(TrackThumb(look, "trackbarthumbright.bmp", true, TPoint::tpRight));
}

void AddControlPictures(std::vector<TSkinPicture>& out) {
  out.push_back(Progress());
  out.push_back(ProgressChunk());
  AddScrollAndRangePictures(kKoraventControls, out);
  out.push_back(StatusBar());
  out.push_back(ListHeader());
}

}  // namespace kv::skingen
