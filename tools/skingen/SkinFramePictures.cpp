// The window frame, its caption buttons, the MDI buttons and the menus.
#include <cmath>
#include <string>

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

// A pixel near a rounded outer corner of the window: (dx, dy) counted from the corner
// inwards. The outline follows the arc; what lies outside it is keyed away, because
// the window region is cut from these pictures.
std::uint32_t CornerPixel(int dx, int dy, double radius, TRgb inside, TRgb outline) {
  const TCorners corner{radius, 0, 0, 0};
  const double outer = BoxCoverage({0, 0, 64, 64}, corner, dx, dy);
  if (outer < 0.5) return kKey.Pixel();
  const double inner = BoxCoverage({1, 1, 64, 64}, TCorners{radius - 1, 0, 0, 0}, dx, dy);
  return Mix(outline, inside, inner / outer).Pixel();
}

constexpr int kCaption = 30;  // caption rows (f-top frames are 30 high)
constexpr int kSide = 4;      // side border width (f-left frames are 4 wide)
constexpr int kBottom = 4;    // bottom border rows
constexpr double kTopRadius = 6;
constexpr double kBottomRadius = 3;

TSkinPicture Top() {
  TSkinPicture p{"f-top.bmp", TPixelBitmap(312, 2 * kCaption), 2, true};
  for (int f = 0; f < 2; ++f)
    for (int y = 0; y < kCaption; ++y) {
      const TRgb row = CaptionRow(y, f == 0);
      for (int x = 0; x < 312; ++x) {
        // The corner arc runs on from the side pieces: the top piece starts kSide pixels in.
        const int fromLeft = x + kSide, fromRight = 311 - x + kSide;
        std::uint32_t pixel = row.Pixel();
        if (fromLeft < kTopRadius) pixel = CornerPixel(fromLeft, y, kTopRadius, row, CaptionRow(0, f == 0));
        if (fromRight < kTopRadius) pixel = CornerPixel(fromRight, y, kTopRadius, row, CaptionRow(0, f == 0));
        p.Bitmap.SetPixel(x, f * kCaption + y, pixel);
      }
    }
  return p;
}

// The left piece; the right one is its mirror image.
TPixelBitmap LeftFrame(bool active) {
  constexpr int kHeight = 288;
  TPixelBitmap b(kSide, kHeight);
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kSide; ++x) {
      std::uint32_t pixel;
      if (y < kCaption) {
        const TRgb inside = x == 0 ? BorderRing(0, active) : CaptionRow(y, active);
        pixel = CornerPixel(x, y, kTopRadius, inside, BorderRing(0, active));
      } else if (y >= kHeight - kBottom) {
        const int up = kHeight - 1 - y;  // rows from the bottom edge
        pixel = CornerPixel(x, up, kBottomRadius, BorderRing(std::min(x, up), active), BorderRing(0, active));
      } else {
        pixel = BorderRing(x, active).Pixel();
      }
      b.SetPixel(x, y, pixel);
    }
  return b;
}

TSkinPicture Side(bool right) {
  TSkinPicture p{right ? "f-right.bmp" : "f-left.bmp", TPixelBitmap(2 * kSide, 288), 2, false};
  for (int f = 0; f < 2; ++f) {
    const TPixelBitmap frame = LeftFrame(f == 0);
    for (int y = 0; y < frame.Height(); ++y)
      for (int x = 0; x < kSide; ++x) p.Bitmap.SetPixel(f * kSide + x, y, frame.Pixel(right ? kSide - 1 - x : x, y));
  }
  return p;
}

TSkinPicture Bottom() {
  TSkinPicture p{"f-bot.bmp", TPixelBitmap(312, 2 * kBottom), 2, true};
  for (int f = 0; f < 2; ++f)
    for (int y = 0; y < kBottom; ++y)
      FillGradient(p.Bitmap, {0, f * kBottom + y, 312, f * kBottom + y + 1}, BorderRing(kBottom - 1 - y, f == 0));
  return p;
}

// Caption buttons: 6 frames of 20 x 15 (1 normal, 2 pressed, 3 hot, 4 inactive window,
// 5 disabled, 6 as 1), drawn at row 8 of the caption.
enum class TCaptionGlyph { cgClose, cgMax, cgRestore, cgMin };

void CaptionGlyph(TPixelBitmap& b, int x0, TCaptionGlyph g, TRgb colour) {
  switch (g) {
    case TCaptionGlyph::cgClose:
      Stamp(b, x0 + 7, 4, {"#+...+#", "+#+.+#+", ".+#+#+.", "..+#+..", ".+#+#+.", "+#+.+#+", "#+...+#"}, colour);
      break;
    case TCaptionGlyph::cgMax:
      Stamp(b, x0 + 6, 4, {"#########", "#########", "#.......#", "#.......#", "#.......#", "#.......#", "#########"},
            colour);
      break;
    case TCaptionGlyph::cgRestore:
      Stamp(b, x0 + 6, 4,
            {"..#######", "..#######", "..#.....#", "#######.#", "#########", "#.....#..", "#.....#..", "#######.."},
            colour);
      break;
    case TCaptionGlyph::cgMin: Stamp(b, x0 + 6, 9, {"########", "########"}, colour); break;
  }
}

TSkinPicture CaptionButton(const char* name, TCaptionGlyph glyph) {
  constexpr int kW = 20, kH = 15, kTop = 8;
  TSkinPicture p{name, TPixelBitmap(6 * kW, kH, kKey.Pixel()), 6, false};
  const bool close = glyph == TCaptionGlyph::cgClose;
  auto cap = [](int y, bool active) { return CaptionRow(y + kTop, active); };
  const TBackdrop onActive{[&](int y) { return cap(y, true); }, true};
  const TBackdrop onInactive{[&](int y) { return cap(y, false); }, true};
  const TCorners round = TCorners::All(3);
  const TRgb mid = cap(7, true);
  for (int f = 0; f < 6; ++f) {
    const Rect r{f * kW, 0, f * kW + kW, kH};
    TRgb ink = kWhite;
    switch (f) {
      case 0:
      case 5:
        DrawBox(p.Bitmap, r,
                {Mix(mid, kWhite, 0.42),
                 {{0.0, Mix(cap(0, true), kWhite, 0.24)}, {1.0, Mix(cap(14, true), kWhite, 0.1)}},
                 kWhite,
                 0.12,
                 round},
                onActive);
        break;
      case 1:
        if (close)
          DrawBox(p.Bitmap, r, {{112, 30, 24}, {{0.0, {160, 40, 32}}, {1.0, {196, 62, 48}}}, kWhite, 0.0, round},
                  onActive);
        else
          DrawBox(p.Bitmap, r,
                  {Mix(mid, kBlack, 0.5),
                   {{0.0, Mix(cap(0, true), kBlack, 0.3)}, {1.0, Mix(cap(14, true), kBlack, 0.12)}},
                   kWhite,
                   0.0,
                   round},
                  onActive);
        break;
      case 2:
        if (close)
          DrawBox(p.Bitmap, r, {{140, 36, 28}, {{0.0, {236, 104, 88}}, {1.0, {198, 54, 42}}}, kWhite, 0.28, round},
                  onActive);
        else
          DrawBox(p.Bitmap, r,
                  {Mix(mid, kWhite, 0.78),
                   {{0.0, Mix(cap(0, true), kWhite, 0.5)}, {1.0, Mix(cap(14, true), kWhite, 0.26)}},
                   kWhite,
                   0.3,
                   round},
                  onActive);
        break;
      case 3:
        DrawBox(p.Bitmap, r, {{186, 180, 160}, {{0.0, {252, 251, 246}}, {1.0, {234, 230, 214}}}, kWhite, 0.0, round},
                onInactive);
        ink = {112, 110, 104};
        break;
      case 4: ink = Mix(mid, kWhite, 0.45); break;
    }
    if (f != 3 && f != 4) {
      // A faint shadow under the white mark keeps it crisp on the lighter states.
      TPixelBitmap shadow(kW, kH, kKey.Pixel());
      CaptionGlyph(shadow, 0, glyph, kBlack);
      for (int y = 0; y + 1 < kH; ++y)
        for (int x = 0; x < kW; ++x)
          if (shadow.Pixel(x, y) == kBlack.Pixel() && p.Bitmap.Pixel(f * kW + x, y + 1) != kKey.Pixel())
            p.Bitmap.SetPixel(f * kW + x, y + 1,
                              Mix(FromPixel(p.Bitmap.Pixel(f * kW + x, y + 1)), {20, 44, 70}, 0.35).Pixel());
    }
    CaptionGlyph(p.Bitmap, f * kW, glyph, ink);
  }
  return p;
}

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

// The three MDI buttons of a maximised child, in the menu bar: 12 cells of 15 x 10,
// four each for minimise, restore and close (1 normal, 2 pressed, 3 and 4 hot).
TSkinPicture MdiButtons() {
  constexpr int kW = 15, kH = 10;
  TSkinPicture p{"button-mdi.bmp", TPixelBitmap(12 * kW, kH, kKey.Pixel()), 12, false};
  const TBackdrop back = Plain(kFace, true);
  for (int b = 0; b < 3; ++b)
    for (int s = 0; s < 4; ++s) {
      const int x0 = (b * 4 + s) * kW;
      const Rect r{x0, 0, x0 + kW, kH};
      if (s == 1)
        DrawBox(p.Bitmap, r,
                {{84, 120, 146}, {{0.0, {192, 212, 224}}, {1.0, {214, 228, 236}}}, kWhite, 0.0, TCorners::All(2)},
                back);
      if (s >= 2)
        DrawBox(p.Bitmap, r,
                {{104, 150, 176}, {{0.0, {252, 253, 254}}, {1.0, {212, 229, 238}}}, kWhite, 0.0, TCorners::All(2)},
                back);
      const TRgb ink = s == 0 ? kGlyph : TRgb{24, 52, 76};
      if (b == 0) Stamp(p.Bitmap, x0 + 4, 6, {"#######", "#######"}, ink);
      if (b == 1) Stamp(p.Bitmap, x0 + 4, 2, {"..#####", "..#...#", "#####.#", "#...###", "#...#..", "#####.."}, ink);
      if (b == 2)
        Stamp(p.Bitmap, x0 + 4, 1, {"#+...+#", "+#+.+#+", ".+#+#+.", "..+#+..", ".+#+#+.", "+#+.+#+", "#+...+#"}, ink,
              s == 0 ? kFace : kAccentPale);
    }
  return p;
}

}  // namespace

void AddFramePictures(std::vector<TSkinPicture>& out) {
  out.push_back(Top());
  out.push_back(Side(false));
  out.push_back(Side(true));
  out.push_back(Bottom());
  out.push_back(CaptionButton("ctrl-close.bmp", TCaptionGlyph::cgClose));
  out.push_back(CaptionButton("ctrl-max.bmp", TCaptionGlyph::cgMax));
  out.push_back(CaptionButton("ctrl-restore.bmp", TCaptionGlyph::cgRestore));
  out.push_back(CaptionButton("ctrl-min.bmp", TCaptionGlyph::cgMin));
  out.push_back(IconBadge());
  out.push_back(MdiButtons());
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
