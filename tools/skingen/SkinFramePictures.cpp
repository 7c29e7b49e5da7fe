// The window frame, its caption buttons, the MDI buttons and the menus.
#include <algorithm>
#include <cmath>
#include <string>

#include "SkinLook.h"
#include "SkinPalette.h"

namespace kv::skingen {

TRgb CaptionRow(int y, bool active) {
  if (active) {
    if (y <= 0) return {34, 72, 106};
    if (y == 1) return {146, 188, 214};
    if (y >= 29) return {36, 82, 120};
    static const TGradient body{
        {0.0, {110, 158, 190}}, {0.48, {84, 136, 172}}, {0.52, {74, 127, 165}}, {1.0, {54, 106, 148}}};
    return body.Row(y - 2, 27);
  }
  if (y <= 0) return {158, 152, 132};
  if (y == 1) return {255, 255, 252};
  if (y >= 29) return {196, 190, 170};
  static const TGradient body{{0.0, {248, 246, 238}}, {1.0, {226, 221, 202}}};
  return body.Row(y - 2, 27);
}

TRgb BorderRing(int ring, bool active) {
  static const TRgb on[4] = {{34, 72, 106}, {112, 160, 192}, {76, 128, 166}, {46, 96, 136}};
  static const TRgb off[4] = {{158, 152, 132}, {252, 250, 244}, {232, 227, 210}, {204, 198, 178}};
  return (active ? on : off)[ring < 0 ? 0 : ring > 3 ? 3 : ring];
}

namespace {

constexpr int kEdgeLength = 312;  // top and bottom pieces
constexpr int kSideLength = 288;  // side pieces

// The entry name of a picture of `look`: "@2x" before the extension at double size.
std::string Named(const TFrameLook& look, std::string name) {
  if (look.Scale == 2) name.insert(name.size() - 4, "@2x");
  return name;
}

TSkinPicture Top(const TFrameLook& look) {
  const int s = look.Scale, h = look.Caption * s, length = kEdgeLength * s;
  const double radius = look.TopRadius * s;
  TSkinPicture p{Named(look, "f-top.bmp"), TPixelBitmap(length, 2 * h), 2, true};
  for (int f = 0; f < 2; ++f)
    for (int y = 0; y < h; ++y) {
      const TRgb row = look.CaptionRow(y / s, f == 0);
      const TRgb outline = look.CaptionRow(0, f == 0);
      for (int x = 0; x < length; ++x) {
        // The corner arc runs on from the side pieces: the top piece starts Side pixels in.
        const int fromLeft = x + look.Side * s, fromRight = length - 1 - x + look.Side * s;
        std::uint32_t pixel = row.Pixel();
        if (fromLeft < radius) pixel = CornerPixel(fromLeft, y, radius, row, outline, s);
        if (fromRight < radius) pixel = CornerPixel(fromRight, y, radius, row, outline, s);
        p.Bitmap.SetPixel(x, f * h + y, pixel);
      }
    }
  return p;
}

// The left piece; the right one is its mirror image.
TPixelBitmap LeftFrame(const TFrameLook& look, bool active) {
  const int s = look.Scale, side = look.Side * s, length = kSideLength * s;
  const double top = look.TopRadius * s, bottom = look.BottomRadius * s;
  // Rows from the bottom that the lower corner reaches: the border, or the arc if taller.
  const int bottomRows = std::max(look.Bottom * s, int(std::ceil(bottom)));
  TPixelBitmap b(side, length);
  const TRgb outline = look.BorderRing(0, active);
  for (int y = 0; y < length; ++y)
    for (int x = 0; x < side; ++x) {
      std::uint32_t pixel;
      if (y < look.Caption * s) {
        const TRgb inside = x < s ? outline : look.CaptionRow(y / s, active);
        pixel = CornerPixel(x, y, top, inside, outline, s);
      } else if (y >= length - bottomRows) {
        const int up = length - 1 - y;  // rows from the bottom edge
        pixel = CornerPixel(x, up, bottom, look.BorderRing(std::min(x, up) / s, active), outline, s);
      } else {
        pixel = look.BorderRing(x / s, active).Pixel();
      }
      b.SetPixel(x, y, pixel);
    }
  return b;
}

TSkinPicture Side(const TFrameLook& look, bool right) {
  const int side = look.Side * look.Scale;
  TSkinPicture p{Named(look, right ? "f-right.bmp" : "f-left.bmp"), TPixelBitmap(2 * side, kSideLength * look.Scale), 2,
                 false};
  for (int f = 0; f < 2; ++f) {
    const TPixelBitmap frame = LeftFrame(look, f == 0);
    for (int y = 0; y < frame.Height(); ++y)
      for (int x = 0; x < side; ++x) p.Bitmap.SetPixel(f * side + x, y, frame.Pixel(right ? side - 1 - x : x, y));
  }
  return p;
}

// Rows from the outside in; where the lower corners' arcs are wider than the sides they
// run on into the bottom piece's ends, keyed like the sides.
TSkinPicture Bottom(const TFrameLook& look) {
  const int s = look.Scale, h = look.Bottom * s, length = kEdgeLength * s;
  const double radius = look.BottomRadius * s;
  TSkinPicture p{Named(look, "f-bot.bmp"), TPixelBitmap(length, 2 * h), 2, true};
  for (int f = 0; f < 2; ++f) {
    const bool active = f == 0;
    for (int y = 0; y < h; ++y) {
      const int up = h - 1 - y;
      const TRgb row = look.BorderRing(up / s, active);
      for (int x = 0; x < length; ++x) {
        const int fromEdge = std::min(x, length - 1 - x) + look.Side * s;
        const std::uint32_t pixel =
            fromEdge < radius ? CornerPixel(fromEdge, up, radius, look.BorderRing(std::min(fromEdge, up) / s, active),
                                            look.BorderRing(0, active), s)
                              : row.Pixel();
        p.Bitmap.SetPixel(x, f * h + y, pixel);
      }
    }
  }
  return p;
}

// Caption buttons: 6 frames (see TCaptionFace), drawn at row ButtonTop of the caption.
enum class TCaptionGlyph { cgClose, cgMax, cgRestore, cgMin };

void CaptionGlyph(TPixelBitmap& b, int x0, int y0, TCaptionGlyph g, TRgb colour, TRgb under = kFace) {
  switch (g) {
    case TCaptionGlyph::cgClose:
      Stamp(b, x0 + 7, y0 + 4, {"#+...+#", "+#+.+#+", ".+#+#+.", "..+#+..", ".+#+#+.", "+#+.+#+", "#+...+#"}, colour,
            under);
      break;
    case TCaptionGlyph::cgMax:
      Stamp(b, x0 + 6, y0 + 4,
            {"#########", "#########", "#.......#", "#.......#", "#.......#", "#.......#", "#########"}, colour, under);
      break;
    case TCaptionGlyph::cgRestore:
      Stamp(b, x0 + 6, y0 + 4,
            {"..#######", "..#######", "..#.....#", "#######.#", "#########", "#.....#..", "#.....#..", "#######.."},
            colour, under);
      break;
    case TCaptionGlyph::cgMin: Stamp(b, x0 + 6, y0 + 9, {"########", "########"}, colour, under); break;
  }
}

// The glyph drawn at the look's scale: stamped over the button as it is at single size,
// each pixel the stamp changed then a square.
void ScaledGlyph(TPixelBitmap& b, int x0, const TFrameLook& look, TCaptionGlyph g, TRgb colour, TRgb under = kFace) {
  const int s = look.Scale;
  if (s == 1) {
    CaptionGlyph(b, x0 + look.GlyphX, look.GlyphY, g, colour, under);
    return;
  }
  TPixelBitmap small(look.ButtonWidth, look.ButtonHeight);
  for (int y = 0; y < small.Height(); ++y)
    for (int x = 0; x < small.Width(); ++x) small.SetPixel(x, y, b.Pixel(x0 + x * s, y * s));
  const TPixelBitmap before = small;
  CaptionGlyph(small, look.GlyphX, look.GlyphY, g, colour, under);
  for (int y = 0; y < small.Height() * s; ++y)
    for (int x = 0; x < small.Width() * s; ++x)
      if (const std::uint32_t p = small.Pixel(x / s, y / s); p != before.Pixel(x / s, y / s)) b.SetPixel(x0 + x, y, p);
}

TCorners Scaled(TCorners c, int s) { return {c.TopLeft * s, c.TopRight * s, c.BottomRight * s, c.BottomLeft * s}; }

TSkinPicture CaptionButton(const TFrameLook& look, const char* name, TCaptionGlyph glyph) {
  const int s = look.Scale, kW = look.ButtonWidth * s, kH = look.ButtonHeight * s, kTop = look.ButtonTop * s;
  TSkinPicture p{Named(look, name), TPixelBitmap(6 * kW, kH, kKey.Pixel()), 6, false};
  const bool close = glyph == TCaptionGlyph::cgClose;
  const TBackdrop onActive{[&](int y) { return look.CaptionRow((y + kTop) / s, true); }, true};
  const TBackdrop onInactive{[&](int y) { return look.CaptionRow((y + kTop) / s, false); }, true};
  for (int f = 0; f < 6; ++f) {
    const Rect r{f * kW, 0, f * kW + kW, kH};
    TCaptionFace face = look.ButtonFace(f, close);
    face.Box.Corners = Scaled(face.Box.Corners, s);
    if (face.Boxed) DrawBox(p.Bitmap, r, face.Box, face.Inactive ? onInactive : onActive);
    if (face.Shadow) {
      TPixelBitmap shadow(kW, kH, kKey.Pixel());
      ScaledGlyph(shadow, 0, look, glyph, kBlack);
      for (int y = 0; y + s < kH; ++y)
        for (int x = 0; x < kW; ++x)
          if (shadow.Pixel(x, y) == kBlack.Pixel() && p.Bitmap.Pixel(f * kW + x, y + s) != kKey.Pixel())
            p.Bitmap.SetPixel(f * kW + x, y + s,
                              Mix(FromPixel(p.Bitmap.Pixel(f * kW + x, y + s)), look.GlyphShadow, 0.35).Pixel());
    }
    ScaledGlyph(p.Bitmap, f * kW, look, glyph, face.Ink, face.Under);
  }
  return p;
}

TCaptionFace KoraventButtonFace(int f, bool close) {
  auto cap = [](int y, bool active) { return CaptionRow(y + 8, active); };
  const TCorners round = TCorners::All(3);
  const TRgb mid = cap(7, true);
  TCaptionFace face;
  face.Boxed = f != 4;
  face.Shadow = f != 3 && f != 4;
  switch (f) {
    case 0:
    case 5:
      face.Box = {Mix(mid, kWhite, 0.42),
                  {{0.0, Mix(cap(0, true), kWhite, 0.24)}, {1.0, Mix(cap(14, true), kWhite, 0.1)}},
                  kWhite,
                  0.12,
                  round};
      break;
    case 1:
      face.Box = close ? TBox{{112, 30, 24}, {{0.0, {160, 40, 32}}, {1.0, {196, 62, 48}}}, kWhite, 0.0, round}
                       : TBox{Mix(mid, kBlack, 0.5),
                              {{0.0, Mix(cap(0, true), kBlack, 0.3)}, {1.0, Mix(cap(14, true), kBlack, 0.12)}},
                              kWhite,
                              0.0,
                              round};
      break;
    case 2:
      face.Box = close ? TBox{{140, 36, 28}, {{0.0, {236, 104, 88}}, {1.0, {198, 54, 42}}}, kWhite, 0.28, round}
                       : TBox{Mix(mid, kWhite, 0.78),
                              {{0.0, Mix(cap(0, true), kWhite, 0.5)}, {1.0, Mix(cap(14, true), kWhite, 0.26)}},
                              kWhite,
                              0.3,
                              round};
      break;
    case 3:
      face.Box = {{186, 180, 160}, {{0.0, {252, 251, 246}}, {1.0, {234, 230, 214}}}, kWhite, 0.0, round};
      face.Inactive = true;
      face.Ink = {112, 110, 104};
      break;
    case 4: face.Ink = Mix(mid, kWhite, 0.45); break;
  }
  return face;
}

const TFrameLook kKoraventFrame{30, 4, 4, 6, 3, &CaptionRow, &BorderRing, 20, 15, 8, 0, 0, &KoraventButtonFace};

// The icon button's own picture: a badge in the caption-button layout (6 frames of
// 16 x 16). Our frame shows the window's icon there instead, so the definition names it
// without a frame count and the model drops it; skin tools show the badge.
TSkinPicture IconBadge() {
  TSkinPicture p{"ctrl-icon.bmp", TPixelBitmap(96, 16, kKey.Pixel()), 6, false};
  const TGradient fills[6] = {
      {{0.0, {150, 192, 216}}, {1.0, {52, 104, 146}}},  {{0.0, {92, 140, 172}}, {1.0, {40, 88, 128}}},
      {{0.0, {186, 216, 232}}, {1.0, {76, 130, 170}}},  {{0.0, {236, 232, 218}}, {1.0, {190, 184, 164}}},
      {{0.0, {170, 196, 212}}, {1.0, {130, 160, 182}}}, {{0.0, {150, 192, 216}}, {1.0, {52, 104, 146}}},
  };
  for (int f = 0; f < 6; ++f) {
    const bool active = f != 3;
    DrawBox(p.Bitmap, {f * 16 + 1, 1, f * 16 + 15, 15},
            {active ? TRgb{30, 74, 110} : TRgb{150, 144, 124}, fills[f], kWhite, 0.3, TCorners::All(3.5)},
            {[active](int y) { return CaptionRow(y + 7, active); }, true});
    Stamp(p.Bitmap, f * 16 + 5, 4,
          {"##...##", "##..##.", "##.##..", "####...", "####...", "##.##..", "##..##.", "##...##"},
          active ? kWhite : TRgb{112, 110, 104});
  }
  return p;
}

}  // namespace

std::uint32_t CornerPixel(int dx, int dy, double radius, TRgb inside, TRgb outline, int outlineWidth) {
  const TCorners corner{radius, 0, 0, 0};
  const double outer = BoxCoverage({0, 0, 64 * outlineWidth, 64 * outlineWidth}, corner, dx, dy);
  if (outer < 0.5) return kKey.Pixel();
  const int w = outlineWidth;
  const double inner = BoxCoverage({w, w, 64 * w, 64 * w}, TCorners{radius - w, 0, 0, 0}, dx, dy);
  return Mix(outline, inside, inner / outer).Pixel();
}

void AddFrameEdges(const TFrameLook& look, std::vector<TSkinPicture>& out) {
  out.push_back(Top(look));
  out.push_back(Side(look, false));
  out.push_back(Side(look, true));
  out.push_back(Bottom(look));
}

void AddCaptionButtons(const TFrameLook& look, std::vector<TSkinPicture>& out) {
  out.push_back(CaptionButton(look, "ctrl-close.bmp", TCaptionGlyph::cgClose));
  out.push_back(CaptionButton(look, "ctrl-max.bmp", TCaptionGlyph::cgMax));
  out.push_back(CaptionButton(look, "ctrl-restore.bmp", TCaptionGlyph::cgRestore));
  out.push_back(CaptionButton(look, "ctrl-min.bmp", TCaptionGlyph::cgMin));
}

TSkinPicture MdiButtons(const TMdiLook& look) {
  const int kW = look.Width, kH = look.Height, gx = look.GlyphX, gy = look.GlyphY;
  TSkinPicture p{"button-mdi.bmp", TPixelBitmap(12 * kW, kH, kKey.Pixel()), 12, false};
  const TBackdrop back = Plain(look.Back, true);
  for (int b = 0; b < 3; ++b)
    for (int s = 0; s < 4; ++s) {
      const int x0 = (b * 4 + s) * kW;
      const Rect r{x0, 0, x0 + kW, kH};
      if (s == 1) DrawBox(p.Bitmap, r, look.Pressed, back);
      if (s >= 2) DrawBox(p.Bitmap, r, look.Hot, back);
      const TRgb ink = s == 0 ? look.Ink : look.HotInk;
      if (b == 0) Stamp(p.Bitmap, x0 + gx + 4, gy + 6, {"#######", "#######"}, ink);
      if (b == 1)
        Stamp(p.Bitmap, x0 + gx + 4, gy + 2, {"..#####", "..#...#", "#####.#", "#...###", "#...#..", "#####.."}, ink);
      if (b == 2)
        Stamp(p.Bitmap, x0 + gx + 4, gy + 1,
              {"#+...+#", "+#+.+#+", ".+#+#+.", "..+#+..", ".+#+#+.", "+#+.+#+", "#+...+#"}, ink,
              s == 0 ? look.Back : look.HotUnder);
    }
  return p;
}

void AddFramePictures(std::vector<TSkinPicture>& out) {
  AddFrameEdges(kKoraventFrame, out);
  AddCaptionButtons(kKoraventFrame, out);
  out.push_back(IconBadge());
  out.push_back(
      MdiButtons({15,
                  10,
                  0,
                  0,
                  kFace,
                  {{84, 120, 146}, {{0.0, {192, 212, 224}}, {1.0, {214, 228, 236}}}, kWhite, 0.0, TCorners::All(2)},
                  {{104, 150, 176}, {{0.0, {252, 253, 254}}, {1.0, {212, 229, 238}}}, kWhite, 0.0, TCorners::All(2)},
                  kGlyph,
                  {24, 52, 76},
                  kAccentPale}));
}

void AddMenuPictures(std::vector<TSkinPicture>& out) {
  // Menu bar: two frames of 70 x 19 stacked, 1 active window, 2 inactive.
  TSkinPicture bar{"bg-menubar.bmp", TPixelBitmap(70, 38), 2, true};
  FillGradient(bar.Bitmap, {0, 0, 70, 18}, {{0.0, {247, 245, 236}}, {1.0, kFace}});
  FillGradient(bar.Bitmap, {0, 18, 70, 19}, TRgb{218, 212, 192});
  FillGradient(bar.Bitmap, {0, 19, 70, 37}, kFace);
  FillGradient(bar.Bitmap, {0, 37, 70, 38}, TRgb{224, 218, 199});
  out.push_back(std::move(bar));

  // Popup background: one opaque frame (its outer ring becomes the popup's border).
  TSkinPicture back{"bg-menuback.bmp", TPixelBitmap(128, 38), 1, false};
  DrawBox(back.Bitmap, back.Bitmap.Bounds(),
          {{128, 140, 148}, {{0.0, {252, 251, 248}}, {1.0, {246, 244, 237}}}, kWhite, 1.0, {}}, Plain(kWell));
  out.push_back(std::move(back));

  // Items: 5 frames of 124 x 16 over the popup background (magenta shows it):
  // 1 normal, 2 separator (read from the bottom rows), 3 selected but disabled,
  // 4 selected, 5 selected and pressed.
  constexpr int kW = 124, kH = 16;
  TSkinPicture item{"bg-menuitem.bmp", TPixelBitmap(5 * kW, kH, kKey.Pixel()), 5, false};
  const TBackdrop behind = Plain({250, 249, 244}, true);
  Stamp(item.Bitmap, kW + 4, 11, {std::string(116, '#')}, {206, 202, 188});
  Stamp(item.Bitmap, kW + 4, 12, {std::string(116, '#')}, kWhite);
  DrawBox(item.Bitmap, {2 * kW, 0, 3 * kW, kH},
          {{206, 202, 190}, {{0.0, {246, 245, 240}}, {1.0, {236, 234, 226}}}, kWhite, 0.0, TCorners::All(3)}, behind);
  DrawBox(item.Bitmap, {3 * kW, 0, 4 * kW, kH},
          {{104, 150, 176},
           {{0.0, {232, 243, 249}}, {0.5, {214, 232, 242}}, {1.0, {192, 218, 233}}},
           kWhite,
           0.55,
           TCorners::All(3)},
          behind);
  DrawBox(item.Bitmap, {4 * kW, 0, 5 * kW, kH},
          {{78, 124, 154}, {{0.0, {182, 210, 226}}, {1.0, {204, 226, 238}}}, kWhite, 0.0, TCorners::All(3)}, behind);
  out.push_back(std::move(item));
}

}  // namespace kv::skingen
