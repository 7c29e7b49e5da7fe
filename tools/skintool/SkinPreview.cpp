#include "SkinPreview.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <memory>
#include <ostream>

#include "SheetPng.h"
#include "SkinOpened.h"
#include "base/ByteText.h"
#include "base/FileIo.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinFrames.h"
#include "skin/data/SkinImage.h"
#include "skin/data/SkinScaling.h"

namespace kv {
namespace {

using enum TStateFlags;

// ---- colours -----------------------------------------------------------------------------

// The platform's standard colours (0x00RRGGBB) for the system-colour indices a skin can
// name; the program asks the system, which gives these on a standard setup.
constexpr std::array<std::uint32_t, 31> kSystemColours = {
    0xD4D0C8, 0x3A6EA5, 0x0A246A, 0x808080, 0xD4D0C8, 0xFFFFFF, 0x000000, 0x000000,  // 0 .. 7
    0x000000, 0xFFFFFF, 0xD4D0C8, 0xD4D0C8, 0x808080, 0x0A246A, 0xFFFFFF, 0xD4D0C8,  // 8 .. 15
    0x808080, 0x808080, 0x000000, 0xD4D0C8, 0xFFFFFF, 0x404040, 0xD4D0C8, 0x000000,  // 16 .. 23
    0xFFFFE1, 0xB5B5B5, 0x000080, 0xA6CAF0, 0xC0C0C0, 0x0A246A, 0xD4D0C8,            // 24 .. 30
};
constexpr std::uint32_t kWindowPixel = kSystemColours[5];      // edit fields
constexpr std::uint32_t kWindowTextPixel = kSystemColours[8];  // labels the platform draws
constexpr std::uint32_t kShadowPixel = kSystemColours[16];
constexpr std::uint32_t kHilightPixel = kSystemColours[20];
constexpr std::uint32_t kDarkShadowPixel = kSystemColours[21];

std::uint32_t ColourPixel(TSkinColour colour) {
  if (!IsSystemColour(colour)) return PixelOf(colour & 0x00FFFFFFu);
  const std::uint32_t index = colour & 0x00FFFFFFu;
  return index < kSystemColours.size() ? kSystemColours[index] : 0;
}

// ---- text --------------------------------------------------------------------------------

// A 5 x 9 font for printable ASCII: rows top down, bit 4 the left column; the baseline is
// under row 6, rows 7 and 8 hold descenders. Glyphs are as wide as their set columns.
constexpr std::uint8_t kGlyphs[95][9] = {
    {0, 0, 0, 0, 0, 0, 0, 0, 0},                             // space
    {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04, 0, 0},        // !
    {0x0A, 0x0A, 0, 0, 0, 0, 0, 0, 0},                       // "
    {0x0A, 0x0A, 0x1F, 0x0A, 0x1F, 0x0A, 0x0A, 0, 0},        // #
    {0x04, 0x0F, 0x14, 0x0E, 0x05, 0x1E, 0x04, 0, 0},        // $
    {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03, 0, 0},        // %
    {0x0C, 0x12, 0x14, 0x08, 0x15, 0x12, 0x0D, 0, 0},        // &
    {0x04, 0x04, 0, 0, 0, 0, 0, 0, 0},                       // '
    {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02, 0, 0},        // (
    {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08, 0, 0},        // )
    {0x00, 0x04, 0x15, 0x0E, 0x15, 0x04, 0x00, 0, 0},        // *
    {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00, 0, 0},        // +
    {0, 0, 0, 0, 0, 0x04, 0x04, 0x08, 0},                    // ,
    {0, 0, 0, 0x1F, 0, 0, 0, 0, 0},                          // -
    {0, 0, 0, 0, 0, 0, 0x04, 0, 0},                          // .
    {0x01, 0x01, 0x02, 0x04, 0x08, 0x10, 0x10, 0, 0},        // /
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E, 0, 0},        // 0
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E, 0, 0},        // 1
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F, 0, 0},        // 2
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E, 0, 0},        // 3
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02, 0, 0},        // 4
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E, 0, 0},        // 5
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E, 0, 0},        // 6
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08, 0, 0},        // 7
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E, 0, 0},        // 8
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C, 0, 0},        // 9
    {0, 0, 0x04, 0, 0, 0x04, 0, 0, 0},                       // :
    {0, 0, 0x04, 0, 0, 0x04, 0x04, 0x08, 0},                 // ;
    {0x02, 0x04, 0x08, 0x10, 0x08, 0x04, 0x02, 0, 0},        // <
    {0, 0, 0x1F, 0, 0x1F, 0, 0, 0, 0},                       // =
    {0x08, 0x04, 0x02, 0x01, 0x02, 0x04, 0x08, 0, 0},        // >
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04, 0, 0},        // ?
    {0x0E, 0x11, 0x17, 0x15, 0x17, 0x10, 0x0F, 0, 0},        // @
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11, 0, 0},        // A
    {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E, 0, 0},        // B
    {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E, 0, 0},        // C
    {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E, 0, 0},        // D
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F, 0, 0},        // E
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10, 0, 0},        // F
    {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F, 0, 0},        // G
    {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11, 0, 0},        // H
    {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E, 0, 0},        // I
    {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C, 0, 0},        // J
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11, 0, 0},        // K
    {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F, 0, 0},        // L
    {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11, 0, 0},        // M
    {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0, 0},        // N
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E, 0, 0},        // O
    {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10, 0, 0},        // P
    {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D, 0, 0},        // Q
    {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11, 0, 0},        // R
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E, 0, 0},        // S
    {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0, 0},        // T
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E, 0, 0},        // U
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04, 0, 0},        // V
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A, 0, 0},        // W
    {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11, 0, 0},        // X
    {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04, 0, 0},        // Y
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F, 0, 0},        // Z
    {0x0E, 0x08, 0x08, 0x08, 0x08, 0x08, 0x0E, 0, 0},        // [
    {0x10, 0x10, 0x08, 0x04, 0x02, 0x01, 0x01, 0, 0},        // backslash
    {0x0E, 0x02, 0x02, 0x02, 0x02, 0x02, 0x0E, 0, 0},        // ]
    {0x04, 0x0A, 0x11, 0, 0, 0, 0, 0, 0},                    // ^
    {0, 0, 0, 0, 0, 0, 0, 0x1F, 0},                          // _
    {0x08, 0x04, 0, 0, 0, 0, 0, 0, 0},                       // `
    {0, 0, 0x0E, 0x01, 0x0F, 0x11, 0x0F, 0, 0},              // a
    {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x1E, 0, 0},        // b
    {0, 0, 0x0E, 0x10, 0x10, 0x11, 0x0E, 0, 0},              // c
    {0x01, 0x01, 0x0D, 0x13, 0x11, 0x11, 0x0F, 0, 0},        // d
    {0, 0, 0x0E, 0x11, 0x1F, 0x10, 0x0E, 0, 0},              // e
    {0x06, 0x09, 0x08, 0x1C, 0x08, 0x08, 0x08, 0, 0},        // f
    {0, 0, 0x0F, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x0E},        // g
    {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x11, 0, 0},        // h
    {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E, 0, 0},        // i
    {0x02, 0x00, 0x06, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C},  // j
    {0x10, 0x10, 0x12, 0x14, 0x18, 0x14, 0x12, 0, 0},        // k
    {0x0C, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E, 0, 0},        // l
    {0, 0, 0x1A, 0x15, 0x15, 0x11, 0x11, 0, 0},              // m
    {0, 0, 0x16, 0x19, 0x11, 0x11, 0x11, 0, 0},              // n
    {0, 0, 0x0E, 0x11, 0x11, 0x11, 0x0E, 0, 0},              // o
    {0, 0, 0x1E, 0x11, 0x11, 0x11, 0x1E, 0x10, 0x10},        // p
    {0, 0, 0x0F, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x01},        // q
    {0, 0, 0x16, 0x19, 0x10, 0x10, 0x10, 0, 0},              // r
    {0, 0, 0x0F, 0x10, 0x0E, 0x01, 0x1E, 0, 0},              // s
    {0x08, 0x08, 0x1C, 0x08, 0x08, 0x09, 0x06, 0, 0},        // t
    {0, 0, 0x11, 0x11, 0x11, 0x13, 0x0D, 0, 0},              // u
    {0, 0, 0x11, 0x11, 0x11, 0x0A, 0x04, 0, 0},              // v
    {0, 0, 0x11, 0x11, 0x15, 0x15, 0x0A, 0, 0},              // w
    {0, 0, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0, 0},              // x
    {0, 0, 0x11, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x0E},        // y
    {0, 0, 0x1F, 0x02, 0x04, 0x08, 0x1F, 0, 0},              // z
    {0x02, 0x04, 0x04, 0x08, 0x04, 0x04, 0x02, 0, 0},        // {
    {0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0, 0},        // |
    {0x08, 0x04, 0x04, 0x02, 0x04, 0x04, 0x08, 0, 0},        // }
    {0, 0, 0x08, 0x15, 0x02, 0, 0, 0, 0},                    // ~
};
// Anything outside printable ASCII (a whole UTF-8 sequence) shows as this box.
constexpr std::uint8_t kBoxGlyph[9] = {0x1F, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1F, 0, 0};
constexpr int kGlyphRows = 9;
constexpr int kTextHeight = kGlyphRows + 2;  // a row of room above and below, like a font's leading
constexpr int kSpaceAdvance = 3;

struct TGlyph {
  const std::uint8_t* Rows;
  int First = 0;  // the leftmost set column
  int Width = 0;  // 0 for a space
  int Advance() const { return Width ? Width + 1 : kSpaceAdvance; }
};

TGlyph GlyphOf(const std::uint8_t* rows) {
  std::uint8_t used = 0;
  for (int r = 0; r < kGlyphRows; ++r) used |= rows[r];
  TGlyph glyph{rows};
  if (!used) return glyph;
  int first = 0, last = 4;
  while (!(used & (0x10 >> first))) ++first;
  while (!(used & (0x10 >> last))) --last;
  glyph.First = first;
  glyph.Width = last - first + 1;
  return glyph;
}

// The glyphs of UTF-8 text, one per character; continuation bytes belong to the box of
// their sequence.
std::vector<TGlyph> GlyphsOf(std::string_view utf8) {
  std::vector<TGlyph> glyphs;
  for (char c : utf8) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x80 && u < 0xC0) continue;
    glyphs.push_back(GlyphOf(u >= 0x20 && u < 0x7F ? kGlyphs[u - 0x20] : kBoxGlyph));
  }
  return glyphs;
}

int TextWidth(const std::vector<TGlyph>& glyphs) {
  int width = 0;
  for (const TGlyph& g : glyphs) width += g.Advance();
  return glyphs.empty() ? 0 : width - 1;  // no gap after the last
}

Rect Intersect(const Rect& a, const Rect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

void DrawGlyphs(TPixelBitmap& canvas, int x, int y, const std::vector<TGlyph>& glyphs, std::uint32_t pixel,
                const Rect& clip) {
  const Rect area = Intersect(clip, canvas.Bounds());
  for (const TGlyph& g : glyphs) {
    if (x >= area.Right) break;
    for (int r = 0; r < kGlyphRows; ++r)
      for (int c = 0; c < g.Width; ++c) {
        const int px = x + c, py = y + 1 + r;
        if ((g.Rows[r] & (0x10 >> (g.First + c))) && px >= area.Left && px < area.Right && py >= area.Top &&
            py < area.Bottom)
          canvas.SetPixel(px, py, pixel);
      }
    x += g.Advance();
  }
}

// Single-line text in `box` with an ellipsis when it does not fit, as the caption is drawn.
void DrawTextEllipsis(TPixelBitmap& canvas, const Rect& box, std::string_view utf8, std::uint32_t pixel) {
  if (box.Width() <= 0 || box.Height() <= 0) return;
  std::vector<TGlyph> glyphs = GlyphsOf(utf8);
  int width = TextWidth(glyphs);
  if (width > box.Width()) {
    const std::vector<TGlyph> dots = GlyphsOf("...");
    // Shortened from the end, one running sum: a caption of any length costs one pass.
    width += 1;  // the gap before the dots
    while (!glyphs.empty() && width + TextWidth(dots) > box.Width()) {
      width -= glyphs.back().Advance();
      glyphs.pop_back();
    }
    glyphs.insert(glyphs.end(), dots.begin(), dots.end());
  }
  DrawGlyphs(canvas, box.Left, box.Top, glyphs, pixel, box);
}

// A control's caption as the control skins place it: one pixel above the vertical centre,
// centred across or from the left edge.
void DrawLabel(TPixelBitmap& canvas, const Rect& r, std::string_view utf8, std::uint32_t pixel, bool centred) {
  const std::vector<TGlyph> glyphs = GlyphsOf(utf8);
  const int width = TextWidth(glyphs);
  const int top = r.Top + (r.Height() - kTextHeight) / 2 - 1;
  const int left = centred ? r.Left + (r.Width() - width) / 2 : r.Left;
  DrawGlyphs(canvas, left, top, glyphs, pixel, {left, top, centred ? left + width : r.Right, top + kTextHeight});
}

// ---- the platform's own look, where a skin has no picture ---------------------------------

void Outline(TPixelBitmap& canvas, const Rect& r, std::uint32_t topLeft, std::uint32_t bottomRight) {
  if (r.Width() <= 0 || r.Height() <= 0) return;
  canvas.FillRect({r.Left, r.Top, r.Right, r.Top + 1}, topLeft);
  canvas.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom}, topLeft);
  canvas.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, bottomRight);
  canvas.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom}, bottomRight);
}

Rect Inflated(const Rect& r, int by) { return {r.Left - by, r.Top - by, r.Right + by, r.Bottom + by}; }

void PlatformBox(TPixelBitmap& canvas, const Rect& r, std::uint32_t face, bool sunken) {
  canvas.FillRect(r, face);
  Outline(canvas, r, sunken ? kShadowPixel : kHilightPixel, sunken ? kHilightPixel : kDarkShadowPixel);
  Outline(canvas, Inflated(r, -1), sunken ? kDarkShadowPixel : face, sunken ? face : kShadowPixel);
}

bool HasPicture(const TDataSkinObject* record) { return record && !record->Image.Empty(); }

// Frame `frame` of a horizontal strip stretched over `target`, magenta left out: the
// control skins' transparent frame copy.
void DrawFrameKeyed(TPixelBitmap& canvas, const Rect& target, const TPixelBitmap& strip, int frames, int frame) {
  TElementImage image;
  image.FStrip = &strip;
  image.FFrameCount = frames;
  if (CanDraw(target, image, frame))
    DrawFrameStretched(canvas, target, strip, TDrawFlags::dfTransparent, frames, frame);
}

// ---- the frame ---------------------------------------------------------------------------

// The icon that icon buttons show: a preview has no window, so a small stand-in window
// on the transparent key.
TPixelBitmap StandInIcon() {
  TPixelBitmap icon(kPreviewIconSize, kPreviewIconSize, PixelOf(kKeyColor));
  const Rect body{1, 2, kPreviewIconSize - 1, kPreviewIconSize - 2};
  icon.FillRect(body, 0xF4F4F4);
  icon.FillRect({body.Left, body.Top, body.Right, body.Top + 4}, 0x2F6FB0);
  Outline(icon, body, 0x1E3F66, 0x1E3F66);
  return icon;
}

// The caption buttons as the form skin keeps them: an icon button (Action 3 or 11) takes
// the icon as its picture when it has none, and counts one frame.
std::vector<std::unique_ptr<TDataSkinSysButton>> FormButtons(const TSkinDefinition& model, const TPixelBitmap& icon) {
  std::vector<std::unique_ptr<TDataSkinSysButton>> buttons;
  for (const auto& record : model.SysButtons) {
    auto copy = record ? std::make_unique<TDataSkinSysButton>(*record) : nullptr;
    if (copy && (copy->Action == 3 || copy->Action == 11)) {
      if (copy->Image.Empty()) copy->Image = icon;
      copy->FrameCount = 1;
    }
    buttons.push_back(std::move(copy));
  }
  return buttons;
}

// The menu bar as the menu bar skin paints it, with a few top-level items.
void DrawMenuBar(TPixelBitmap& bar, const TSkinDefinition& model, bool active) {
  const TDataSkinObject& record = *model.MenuBar;
  const int frames = std::max(record.FrameCount, 1);
  const int frame = StripFrameIndex(TElementKind::ekFramePiece, active ? csNone : csInactive, frames);
  if (record.Tile == 1)
    DrawSkinImage(bar, bar.Bounds(), record.Image, TDrawFlags::dfVertical, frames, frame, record.GetMargins());
  else
    DrawThreeSliceTiled(bar, bar.Bounds(), record.Image, TDrawFlags::dfVertical, frames, frame, record.GetMargins());
  constexpr int kButtonPadding = 10, kNarrowBarStart = 12;
  // (In 64 bits: a skin may give any int.)
  const std::int64_t start = std::int64_t(record.LeftWidth) + 4;
  int x = start > bar.Width() ? kNarrowBarStart : int(start);
  for (const char* item : {"File", "Edit", "View", "Help"}) {
    const int w = TextWidth(GlyphsOf(item)) + kButtonPadding;
    DrawLabel(bar, {x, 0, x + w, bar.Height() - 1}, item, ColourPixel(model.Colours.MenuBarTextColour), true);
    x += w;
  }
}

// ---- the controls ------------------------------------------------------------------------

class TControlPainter {
 public:
  TControlPainter(TPixelBitmap& canvas, const TSkinDefinition& model, int originX, int originY,
                  std::vector<TPreviewControl>& placed, int dpi)
      : FCanvas(canvas),
        FModel(model),
        FX(originX),
        FY(originY),
        FPlaced(placed),
        FArrow(ScaleLength(kPreviewArrowSize, dpi)) {}

  void PushButton(const Rect& r, TStateFlags state, const char* label) {
    Place("button " + std::string(label), r);
    const TDataSkinButton* record = FModel.Buttons.get();
    const bool enabled = !HasFlag(state, csDisabled);
    if (!HasPicture(record)) {
      PlatformBox(FCanvas, r, Face(), HasFlag(state, csPressed));
      DrawLabel(FCanvas, r, label, enabled ? kWindowTextPixel : kShadowPixel, true);
      return;
    }
    const int frames = FixedFrameCount(TElementKind::ekPushButton);
    const int frame = StripFrameIndex(TElementKind::ekPushButton, state, frames);
    TElementImage image = ElementImage(*record);
    image.FFrameCount = frames;
    FCanvas.FillRect(r, Face());
    DrawElement(FCanvas, r, image, frame);
    // The caption colour belongs to the face frame: normal 1, pressed 2, hot 4.
    TSkinColour colour = FModel.Colours.ButtonTextColour;
    if (frame == 1) colour = record->NormalColour2;
    if (frame == 2) colour = record->PressedColour2;
    if (frame == 4) colour = record->MouseOverColour2;
    DrawLabel(FCanvas, r, label, enabled ? ColourPixel(colour) : kShadowPixel, true);
  }

  void CheckBox(const Rect& r, bool radio, bool checked, const char* label) {
    Place(std::string(radio ? "radio " : "check box ") + (checked ? "checked" : "unchecked"), r);
    FCanvas.FillRect(r, Face());
    DrawLabel(FCanvas, {r.Left + 18, r.Top, r.Right, r.Bottom}, label, kWindowTextPixel, false);
    const TDataSkinButton* record = FModel.Buttons.get();
    const TElementImage image = !record ? TElementImage() : radio ? RadioButtonImage(*record) : CheckBoxImage(*record);
    if (!image.FStrip || image.FStrip->Empty()) {
      const Rect box = MarkRect(r, 13, 13);
      PlatformBox(FCanvas, box, kWindowPixel, true);
      if (checked) FCanvas.FillRect(Inflated(box, -4), kWindowTextPixel);
      return;
    }
    const int frames = std::max(image.FFrameCount, 1);
    const TElementKind kind = radio ? TElementKind::ekRadioButton : TElementKind::ekCheckBox;
    const int frame = StripFrameIndex(kind, checked ? csChecked : csNone, frames);
    const Rect mark = MarkRect(r, image.FStrip->Width() / frames, image.FStrip->Height());
    FCanvas.FillRect(mark, Face());
    DrawFrameKeyed(FCanvas, mark, *image.FStrip, frames, frame);
  }

  // The edit skin's flat frame: the shadow colour outside, white inside it.
  void Edit(const Rect& r, const char* text) {
    Place("edit", r);
    FCanvas.FillRect(r, kWindowPixel);
    Outline(FCanvas, r, Shadow(), Shadow());
    DrawLabel(FCanvas, {r.Left + 4, r.Top, r.Right - 2, r.Bottom}, text, kWindowTextPixel, false);
  }

  void Combo(const Rect& r, const char* text) {
    Place("combo box", r);
    const TDataSkinBorder* button = FModel.ComboButton.get();
    const TDataSkinObject* edge = FModel.SunkEdge.get();
    const int b = FArrow;
    Rect textArea{r.Left + 2, r.Top + 2, r.Right - b - 4, r.Bottom - 2};
    if (!HasPicture(button) || (button->Style != 1 && !HasPicture(edge))) {
      PlatformBox(FCanvas, r, kWindowPixel, true);
      PlatformBox(FCanvas, {r.Right - 2 - b, r.Top + 2, r.Right - 2, r.Bottom - 2}, Face(), false);
      DrawComboText(textArea, text);
      return;
    }
    const int buttonFrames = FixedFrameCount(TElementKind::ekComboButton);
    const int frame = StripFrameIndex(TElementKind::ekComboButton, csNone, buttonFrames);
    if (button->Style == 1) {
      // The flat look: plain frames, the button inside them, stretched and opaque.
      FCanvas.FillRect(r, kWindowPixel);
      const Rect inner = Inflated(r, -2);
      const Rect target{std::max(inner.Left, inner.Right - b), inner.Top, inner.Right, inner.Bottom};
      TElementImage image;
      image.FStrip = &button->Image;
      image.FFrameCount = buttonFrames;
      if (CanDraw(target, image, frame))
        DrawFrameStretched(FCanvas, target, button->Image, TDrawFlags::dfNone, buttonFrames, frame);
      Outline(FCanvas, r, Shadow(), Shadow());
      textArea.Right = target.Left - 2;
      DrawComboText(textArea, text);
      return;
    }
    const int edgeFrames = std::max(edge->FrameCount, 1);
    TElementImage edgeImage = ElementImage(*edge);
    edgeImage.FFrameCount = edgeFrames;
    DrawElement(FCanvas, r, edgeImage, StripFrameIndex(TElementKind::ekSunkEdge, csNone, edgeFrames));
    DrawFrameKeyed(FCanvas, {r.Right - b - 2, r.Top, r.Right, r.Bottom}, button->Image, buttonFrames, frame);
    if (const TDataSkinObject* arrow = FModel.ExtraImages.get(); HasPicture(arrow)) {
      const int frames = std::max(arrow->FrameCount, 1);
      const int w = arrow->Image.Width() / frames, h = arrow->Image.Height();
      const Rect glyphArea{r.Right - b - 2, r.Top, r.Right - 2, r.Bottom};
      const int left = glyphArea.Left + (glyphArea.Width() - w) / 2, top = glyphArea.Top + (glyphArea.Height() - h) / 2;
      DrawFrameKeyed(FCanvas, {left, top, left + w, top + h}, arrow->Image, frames,
                     StripFrameIndex(TElementKind::ekComboArrow, csNone, frames));
    }
    // The text area stays the control's own.
    DrawComboText(textArea, text);
  }

  void Progress(const Rect& r, int percent) {
    Place("progress bar", r);
    const TDataSkinBorder* record = FModel.Progress.get();
    const int filled = std::min(r.Width() * percent / 100, r.Width());
    if (!HasPicture(record) || (record->Style == 1 && record->Image2.Empty())) {
      PlatformBox(FCanvas, r, Face(), true);
      for (int x = r.Left + 2; x + 8 <= r.Left + filled - 2; x += 10)
        FCanvas.FillRect({x, r.Top + 2, x + 8, r.Bottom - 2}, kSystemColours[13]);
      return;
    }
    FCanvas.FillRect(r, Face());
    TElementImage image = ElementImage(*record);
    image.FTransparent = true;  // the face shows through magenta in either style
    if (record->Style != 1) {
      image.FFrameCount = FixedFrameCount(TElementKind::ekProgressBar);
      DrawElement(FCanvas, r, image, FrameIndex(TElementKind::ekProgressBar, csNone));
      if (filled > 0)
        DrawElement(FCanvas, {r.Left, r.Top, r.Left + filled, r.Bottom}, image,
                    FrameIndex(TElementKind::ekProgressFill, csNone));
      return;
    }
    image.FFrameCount = 1;  // the chunk style's bar is one picture
    DrawElement(FCanvas, r, image, StripFrameIndex(TElementKind::ekProgressBar, csNone, 1));
    const TPixelBitmap& chunk = record->Image2;
    if (filled <= 0) return;
    TPixelBitmap row(filled, chunk.Height());
    for (int i = 0, n = filled / chunk.Width() + 1; i < n; ++i)
      CopyPixels(row, i * chunk.Width(), 0, chunk, chunk.Bounds());
    DrawKeyed(FCanvas, r.Left + record->LeftWidth, r.Top + (r.Height() - chunk.Height()) / 2, row, row.Width(),
              row.Height(), PixelOf(kKeyColor));
  }

  // A bar composed one arrow thick from the arrows, the track and the thumb, then
  // stretched across, as the scroll-bar skins draw it.
  void ScrollBar(const Rect& r, bool vertical, int thumbStart, int thumbLength) {
    Place(vertical ? "vertical scroll bar" : "horizontal scroll bar", r);
    const int length = vertical ? r.Height() : r.Width();
    const int a = FArrow, thick = FArrow;
    if (length <= 0) return;
    const auto along = [vertical, thick](int from, int to) {
      return vertical ? Rect{0, from, thick, to} : Rect{from, 0, to, thick};
    };
    TPixelBitmap bar(vertical ? thick : length, vertical ? length : thick, ColourPixel(FModel.Colours.ScrollbarColour));
    const int arrow = length < 2 * a ? length / 2 : a;
    if (!HasPicture(FModel.Scrollbar.get())) {
      bar.Fill(kSystemColours[0]);
      PlatformBox(bar, along(0, arrow), Face(), false);
      PlatformBox(bar, along(length - arrow, length), Face(), false);
      PlatformBox(bar, along(thumbStart, thumbStart + thumbLength), Face(), false);
    } else {
      if (const TDataSkinObject* track = vertical ? FModel.VertScroll.get() : FModel.HorzScroll.get()) {
        TElementImage image = ElementImage(*track);
        image.FFrameCount = FixedFrameCount(TElementKind::ekScrollTrack);
        DrawElement(bar, along(a, length - a), image, FrameIndex(TElementKind::ekScrollTrack, csNone));
      }
      TElementImage arrows;
      arrows.FStrip = &FModel.Scrollbar->Image;
      arrows.FFrameCount = FixedFrameCount(TElementKind::ekScrollLeft);
      arrows.FTransparent = true;
      DrawElementStretched(bar, along(0, arrow), arrows,
                           FrameIndex(vertical ? TElementKind::ekScrollUp : TElementKind::ekScrollLeft, csNone));
      DrawElementStretched(bar, along(length - arrow, length), arrows,
                           FrameIndex(vertical ? TElementKind::ekScrollDown : TElementKind::ekScrollRight, csNone));
      const TDataSkinObject* thumb = vertical ? FModel.VertScrollThumb.get() : FModel.HorzScrollThumb.get();
      if (thumb && thumbLength > 0) {
        TElementImage image = ElementImage(*thumb);
        image.FTile = false;
        image.FFrameCount = std::max(thumb->FrameCount, 1);
        DrawElement(bar, along(thumbStart, thumbStart + thumbLength), image,
                    StripFrameIndex(TElementKind::ekScrollThumb, csNone, image.FFrameCount));
      }
    }
    if ((vertical ? r.Width() : r.Height()) == thick)
      CopyPixels(FCanvas, r.Left, r.Top, bar, bar.Bounds());
    else
      StretchDraw(FCanvas, r, bar, bar.Bounds());
  }

  // The platform's channel and ticks with the skin's thumb over its own.
  void TrackBar(const Rect& r, int percent) {
    Place("track bar", r);
    FCanvas.FillRect(r, Face());
    const TDataSkinObject* thumb = FModel.TrackbarThumbHorz.get();
    const int frames = FixedFrameCount(TElementKind::ekTrackbarThumb);
    const int w = HasPicture(thumb) ? thumb->Image.Width() / frames : 11;
    const int h = HasPicture(thumb) ? thumb->Image.Height() : 21;
    const int channelLeft = r.Left + 8, channelRight = r.Right - 8;
    const int middle = r.Top + 2 + h / 2;
    PlatformBox(FCanvas, {channelLeft, middle - 2, channelRight, middle + 2}, kWindowPixel, true);
    const int span = channelRight - channelLeft - w;
    for (int i = 0; i <= 10 && span > 0; ++i) {
      const int x = channelLeft + w / 2 + span * i / 10;
      FCanvas.FillRect({x, r.Top + h + 4, x + 1, r.Top + h + 7}, kWindowTextPixel);
    }
    const int left = channelLeft + span * percent / 100;
    const Rect at{left, r.Top + 2, left + w, r.Top + 2 + h};
    if (HasPicture(thumb)) {
      DrawFrameKeyed(FCanvas, at, thumb->Image, frames, StripFrameIndex(TElementKind::ekTrackbarThumb, csNone, frames));
    } else {
      FCanvas.FillRect(at, Face());
      Outline(FCanvas, at, Shadow(), Shadow());
    }
  }

  // A tab control with its tabs on top: the tab strip, then the page frame over it.
  void Tabs(const Rect& r, std::initializer_list<const char*> labels) {
    Place("tabs", r);
    FCanvas.FillRect(r, Face());
    constexpr int kItemTop = 2, kItemHeight = 18, kItemPadding = 12;
    const Rect page{r.Left, r.Top + kItemTop + kItemHeight - 1, r.Right, r.Bottom};
    const TDataSkinBorder* tabs = FModel.Tabs.get();
    const bool skinned = HasPicture(tabs) && !tabs->Image2.Empty();
    // The strip above the page, composed apart so tabs end where the page begins.
    TPixelBitmap strip(r.Width(), page.Top - r.Top, Face());
    int x = 2;
    bool selected = true;  // the first tab is in front
    for (const char* label : labels) {
      const int w = TextWidth(GlyphsOf(label)) + kItemPadding;
      const Rect tab{x, kItemTop + 1, x + w, kItemTop + 1 + kItemHeight};
      if (skinned) {
        TElementImage image = ElementImage(*tabs);
        image.FFrameCount = FixedFrameCount(TElementKind::ekTab);
        DrawElement(strip, tab, image, FrameIndex(TElementKind::ekTab, selected ? csSelected : csNone));
        DrawLabel(strip, tab, label, ColourPixel(selected ? tabs->MouseOverColour2 : tabs->NormalColour2), true);
      } else {
        const Rect shown = selected ? Rect{tab.Left - 2, tab.Top - 2, tab.Right + 2, tab.Bottom + 2} : tab;
        PlatformBox(strip, shown, Face(), false);
        DrawLabel(strip, tab, label, kWindowTextPixel, true);
      }
      x += w;
      selected = false;
    }
    CopyPixels(FCanvas, r.Left, r.Top, strip, strip.Bounds());
    if (skinned)
      DrawNineSliceBorder(FCanvas, page, tabs->Image2, false, 1, 1, {4, 5, 4, 4});
    else
      PlatformBox(FCanvas, page, Face(), false);
  }

  // Group boxes keep the platform's etched frame; the skin gives them its face colour.
  void GroupBox(const Rect& r, const char* label) {
    Place("group box", r);
    FCanvas.FillRect(r, Face());
    const Rect frame{r.Left, r.Top + kTextHeight / 2, r.Right, r.Bottom};
    Outline(FCanvas, {frame.Left, frame.Top, frame.Right - 1, frame.Bottom - 1}, kShadowPixel, kShadowPixel);
    Outline(FCanvas, {frame.Left + 1, frame.Top + 1, frame.Right, frame.Bottom}, kHilightPixel, kHilightPixel);
    const int w = TextWidth(GlyphsOf(label));
    FCanvas.FillRect({r.Left + 6, r.Top, r.Left + 10 + w, r.Top + kTextHeight}, Face());
    DrawGlyphs(FCanvas, r.Left + 8, r.Top, GlyphsOf(label), kWindowTextPixel, r);
  }

 private:
  std::uint32_t Face() const { return ColourPixel(FModel.Colours.ButtonFaceColour); }
  std::uint32_t Shadow() const { return ColourPixel(FModel.Colours.ButtonShadowColour); }

  void Place(std::string name, const Rect& r) {
    FPlaced.push_back({std::move(name), {r.Left + FX, r.Top + FY, r.Right + FX, r.Bottom + FY}});
  }

  void DrawComboText(const Rect& area, const char* text) {
    FCanvas.FillRect(area, kWindowPixel);
    DrawLabel(FCanvas, {area.Left + 2, area.Top, area.Right, area.Bottom}, text, kWindowTextPixel, false);
  }

  // Where the check or radio mark goes: centred down; a cell narrower than the platform's
  // 14-pixel mark column centred in it.
  static Rect MarkRect(const Rect& r, int w, int h) {
    constexpr int kMarkColumn = 14;
    const int top = r.Top + (r.Height() - h) / 2;
    const int left = w <= kMarkColumn ? r.Left + (kMarkColumn - w) / 2 : r.Left;
    return {left, top, left + w, top + h};
  }

  TPixelBitmap& FCanvas;
  const TSkinDefinition& FModel;
  int FX, FY;
  std::vector<TPreviewControl>& FPlaced;
  int FArrow;  // SM_CXHSCROLL at the preview's scale
};

// One of each control kind: a left column of buttons, fields and bars over a tab control
// that takes the rest of the height, a group of check boxes and radios on the right with
// a vertical scroll bar under it. Places are 96-DPI units laid out at `dpi`, as the
// program's forms are; the text stays in the built-in font's one size.
void DrawControls(TControlPainter& paint, int width, int height, int dpi) {
  const auto px = [dpi](int units) { return ScaleLength(units, dpi); };
  const auto at = [&px](int left, int top, int right, int bottom) {
    return Rect{px(left), px(top), px(right), px(bottom)};
  };
  const int pad = 8, rightColumn = 140, arrow = kPreviewArrowSize;
  // The client's size in units, so that the layout scales as a whole.
  const int w = ScaleLength(width, kBaseDpi, dpi), h = ScaleLength(height, kBaseDpi, dpi);
  const int leftWidth = std::max(w - 3 * pad - rightColumn, 120);
  const int right = pad + leftWidth + pad;
  const int buttonWidth = (leftWidth - 3 * 6) / 4;
  const std::pair<TStateFlags, const char*> buttons[] = {
      {csNone, "Normal"}, {csHot, "Hot"}, {csPressed | csHot, "Pressed"}, {csDisabled, "Disabled"}};
  for (int i = 0; i < 4; ++i) {
    const int x = pad + i * (buttonWidth + 6);
    paint.PushButton(at(x, pad, x + buttonWidth, pad + 23), buttons[i].first, buttons[i].second);
  }
  const int half = (leftWidth - pad) / 2;
  paint.Edit(at(pad, 41, pad + half, 62), "Edit text");
  paint.Combo(at(pad + half + pad, 41, pad + leftWidth, 62), "Combo box");
  paint.Progress(at(pad, 72, pad + leftWidth, 90), 60);
  const int track = leftWidth - 2 * arrow;
  paint.ScrollBar(at(pad, 100, pad + leftWidth, 116), false, px(arrow + track / 3), px(std::max(track / 4, 8)));
  paint.TrackBar(at(pad, 124, pad + leftWidth, 154), 40);
  paint.Tabs(at(pad, 162, pad + leftWidth, std::max(h - pad, 240)), {"General", "Colours", "About"});

  paint.GroupBox(at(right, pad, right + rightColumn, 128), "Options");
  paint.CheckBox(at(right + 10, 28, right + rightColumn - 6, 45), false, true, "Checked");
  paint.CheckBox(at(right + 10, 50, right + rightColumn - 6, 67), false, false, "Unchecked");
  paint.CheckBox(at(right + 10, 76, right + rightColumn - 6, 93), true, true, "Selected");
  paint.CheckBox(at(right + 10, 98, right + rightColumn - 6, 115), true, false, "Not selected");
  const int barBottom = std::max(h - pad, 200);
  paint.ScrollBar(at(right + rightColumn - arrow, 136, right + rightColumn, barBottom), true, px(arrow),
                  px(std::max((barBottom - 136 - 2 * arrow) / 3, 8)));
}

std::string Shown(const std::filesystem::path& p) {
  const auto u8 = p.u8string();
  return std::string(u8.begin(), u8.end());
}

}  // namespace

Margins PreviewBorders(const TSkinDefinition& model) { return FrameBordersOf(FrameSkinOf(model)); }

Extent PreviewTextExtent(std::string_view utf8) { return {TextWidth(GlyphsOf(utf8)), kTextHeight}; }

void DrawPreviewText(TPixelBitmap& canvas, int x, int y, std::string_view utf8, std::uint32_t pixel, const Rect& clip) {
  DrawGlyphs(canvas, x, y, GlyphsOf(utf8), pixel, clip);
}

TSkinPreview RenderSkinPreview(const TSkinDefinition& model, const TPreviewOptions& options) {
  TSkinPreview preview;
  const int W = options.FWidth, H = options.FHeight;
  if (W < 1 || H < 1 || W > kPreviewMaxSide || H > kPreviewMaxSide) return preview;
  const TPixelBitmap icon = StandInIcon();
  const std::vector<std::unique_ptr<TDataSkinSysButton>> buttons = FormButtons(model, icon);
  FrameSkin skin = FrameSkinOf(model);
  skin.Buttons = buttons;

  // A sizeable main window with all three caption boxes and a menu.
  FrameWindow& window = preview.FWindow;
  window.FrameType = TFrameType::ftEdged;
  window.CaptionFlags = TCaptionFlags::cfSysMenu | TCaptionFlags::cfMinBox | TCaptionFlags::cfMaxBox;
  window.Active = !options.FInactive;
  window.Borders = PreviewBorders(model);
  window.MenuBarHeight = HasPicture(model.MenuBar.get()) ? ScaleLength(kPreviewMenuBarHeight, options.FDpi) : 0;
  window.Width = W;
  window.Height = H;
  const Margins& b = window.Borders;
  const std::uint32_t face = ColourPixel(model.Colours.ButtonFaceColour);
  TPixelBitmap drawn(W, H, face);

  // The pieces keep their magenta: the region cuts it away.
  TPixelBitmap left, right;
  if (skin.Left) left = RenderBorderPiece(TFrameEdge::feLeft, b.Left, H, *skin.Left, window.Active);
  if (skin.Right) right = RenderBorderPiece(TFrameEdge::feRight, b.Right, H, *skin.Right, window.Active);
  CopyPixels(drawn, 0, 0, left, left.Bounds());
  CopyPixels(drawn, W - b.Right, 0, right, right.Bounds());
  if (skin.Bottom) {
    const TPixelBitmap bottom =
        RenderBorderPiece(TFrameEdge::feBottom, W - b.Left - b.Right, b.Bottom, *skin.Bottom, window.Active);
    CopyPixels(drawn, b.Left, H - b.Bottom, bottom, bottom.Bounds());
  }

  // The caption strip in the form skin's order: background, text, buttons over the text.
  if (b.Top > 0) {
    TPixelBitmap strip(W, b.Top, face);
    CopyPixels(strip, 0, 0, left, {0, 0, left.Width(), b.Top});
    CopyPixels(strip, W - b.Right, 0, right, {0, 0, right.Width(), b.Top});
    static const TDataSkinTitle kNoTitle;
    // The form skin's two-space prefix and one space of separation come first.
    const std::string text = "   " + options.FCaption;
    preview.FCaption = PlaceCaption({b.Left, 0, W - b.Right, b.Top}, PreviewTextExtent(text),
                                    skin.Title ? *skin.Title : kNoTitle, window, 0);
    DrawCaptionBackground(strip, skin, window, preview.FCaption);
    const TSkinColour titleColour =
        window.Active ? model.Colours.TitleTextActiveColour : model.Colours.TitleTextNoActiveColour;
    DrawTextEllipsis(strip, preview.FCaption.Inner, text, ColourPixel(titleColour));
    preview.FButtons = LayoutButtons(skin, window, preview.FCaption.Text, {});
    DrawCaptionButtons(strip, skin, window, preview.FButtons, &icon);
    CopyPixels(drawn, 0, 0, strip, strip.Bounds());
    preview.FCaptionStrip = std::move(strip);
  }

  const int clientTop = b.Top + window.MenuBarHeight;
  if (window.MenuBarHeight > 0 && W - b.Left - b.Right > 0) {
    preview.FMenuBar = {b.Left, b.Top, W - b.Right, clientTop};
    TPixelBitmap bar(preview.FMenuBar.Width(), preview.FMenuBar.Height());
    DrawMenuBar(bar, model, window.Active);
    CopyPixels(drawn, b.Left, b.Top, bar, bar.Bounds());
  }

  preview.FClient = {b.Left, clientTop, W - b.Right, H - b.Bottom};
  if (preview.FClient.Width() > 0 && preview.FClient.Height() > 0) {
    TPixelBitmap client(preview.FClient.Width(), preview.FClient.Height(), face);
    TControlPainter paint(client, model, preview.FClient.Left, preview.FClient.Top, preview.FControls, options.FDpi);
    DrawControls(paint, client.Width(), client.Height(), options.FDpi);
    CopyPixels(drawn, preview.FClient.Left, preview.FClient.Top, client, client.Bounds());
  }

  // Only what the window region holds shows; the desktop elsewhere.
  preview.FPicture = TPixelBitmap(W, H, kPreviewDesktop);
  const TPixelBitmap* caption = preview.FCaptionStrip.Empty() ? nullptr : &preview.FCaptionStrip;
  for (const TRegionBatch& batch : FrameRegionRects(window, skin, caption))
    for (const Rect& r : batch.FRects) CopyPixels(preview.FPicture, r.Left, r.Top, drawn, r);
  return preview;
}

bool ParsePreviewSize(std::string_view text, int& width, int& height) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string_view::npos) return false;
  const auto number = [](std::string_view digits, int& value) {
    if (digits.empty() || digits.size() > 5) return false;
    value = 0;
    for (char c : digits) {
      if (c < '0' || c > '9') return false;
      value = value * 10 + (c - '0');
    }
    return value >= 1 && value <= kPreviewMaxSide;
  };
  int w = 0, h = 0;
  if (!number(text.substr(0, x), w) || !number(text.substr(x + 1), h)) return false;
  width = w;
  height = h;
  return true;
}

int PreviewSkin(const std::filesystem::path& in, const std::filesystem::path& out, const TPreviewOptions& options,
                std::ostream& report, std::ostream& err) {
  const auto fail = [&err](const std::string& message) {
    err << "skintool: " << message << "\n";
    return 1;
  };
  const auto bytes = ReadFileBytes(in);
  if (!bytes) return fail("cannot read " + Shown(in));
  TOpenedSkin skin;
  std::string error;
  if (skin.Open(*bytes, error) != TOpenStatus::isOpened) return fail(Shown(in) + ": " + error);
  std::unique_ptr<TSkinDefinition> scaled;
  if (options.FDpi != kBaseDpi) {
    scaled = ScaleDefinition(skin.Model(), options.FDpi, [&skin](std::string_view name) {
      const TSkinEntry* entry = skin.FindEntry(name);
      return entry ? std::string(entry->FData) : std::string();
    });
    if (!scaled) return fail("the skin's pictures at " + std::to_string(options.FDpi) + " DPI are beyond the budget");
  }
  const TSkinPreview preview = RenderSkinPreview(scaled ? *scaled : skin.Model(), options);
  if (preview.FPicture.Empty())
    return fail("a preview window is 1 to " + std::to_string(kPreviewMaxSide) + " pixels on each side");
  std::string file;
  if (AsciiLowerCase(Shown(out.extension())) == ".png") {
    auto png = EncodePng(preview.FPicture);
    if (!png) return fail("this skintool writes no PNG files; name a .bmp file instead");
    file = std::move(*png);
  } else {
    file = WriteBmp24(preview.FPicture);
  }
  if (!ReplaceFileContents(out, file)) return fail("cannot write " + Shown(out));
  const Margins& m = preview.FWindow.Borders;
  if (m.Left == 0 && m.Top == 0 && m.Right == 0 && m.Bottom == 0)
    report << "note: the skin has no frame pictures; the window shows without a frame\n";
  report << "preview of " << (skin.Model().SkinName.empty() ? Shown(in.filename()) : skin.Model().SkinName) << ", "
         << preview.FPicture.Width() << " x " << preview.FPicture.Height() << ", "
         << (options.FInactive ? "inactive" : "active") << ", " << options.FDpi << " DPI, written to " << Shown(out)
         << "\n";
  return 0;
}

}  // namespace kv
