// Midnight: a dark skin with light text. A 26-row caption with the title on a plate,
// 5-px borders rounded on all four corners, round caption buttons (the icon and a menu
// chevron left of the title), chunked progress, a flat combo button and two-frame
// scroll thumbs. Frame edges, caption buttons, MDI buttons and the scroll and range
// pictures come from the shared makers; the rest is drawn here.
#include <string>

#include "SkinLook.h"
#include "SkinMidnightPalette.h"

namespace kv::skingen {
namespace {

TRgb MidnightCaptionRow(int y, bool active) {
  if (active) {
    if (y <= 0) return {8, 10, 16};
    if (y == 1) return {72, 82, 106};
    if (y >= kNightCaption - 1) return kNightAccentDeep;  // a thin accent line under the caption
    static const TGradient body{{0.0, {50, 57, 75}}, {1.0, {24, 27, 37}}};
    return body.Row(y - 2, kNightCaption - 3);
  }
  if (y <= 0) return {14, 16, 22};
  if (y == 1) return {62, 66, 78};
  if (y >= kNightCaption - 1) return {30, 33, 42};
  static const TGradient body{{0.0, {46, 49, 58}}, {1.0, {36, 39, 48}}};
  return body.Row(y - 2, kNightCaption - 3);
}

TRgb MidnightBorderRing(int ring, bool active) {
  static const TRgb on[5] = {{8, 10, 16}, {62, 70, 90}, {46, 52, 68}, {36, 40, 53}, {28, 31, 41}};
  static const TRgb off[5] = {{14, 16, 22}, {56, 60, 71}, {46, 49, 58}, {40, 43, 52}, {33, 36, 45}};
  return (active ? on : off)[ring < 0 ? 0 : ring > 4 ? 4 : ring];
}

// Round buttons: only the glyph at rest, a disc when hot or pressed (red for close).
TCaptionFace MidnightButtonFace(int f, bool close) {
  const TCorners disc = TCorners::All(8);
  TCaptionFace face;
  face.Under = MidnightCaptionRow(kNightButtonTop + 8, f != 3);
  switch (f) {
    case 1:
      face.Boxed = true;
      face.Box = close ? TBox{{130, 34, 30}, {{0.0, {150, 40, 36}}, {1.0, {186, 56, 48}}}, kWhite, 0.0, disc}
                       : TBox{{24, 70, 140}, {{0.0, {32, 86, 160}}, {1.0, {46, 112, 196}}}, kWhite, 0.0, disc};
      face.Ink = kWhite;
      break;
    case 2:
      face.Boxed = true;
      face.Box = close ? TBox{{150, 44, 38}, {{0.0, {236, 98, 84}}, {1.0, {200, 58, 46}}}, kWhite, 0.25, disc}
                       : TBox{{52, 118, 200}, {{0.0, {120, 184, 246}}, {1.0, {70, 138, 220}}}, kWhite, 0.25, disc};
      face.Ink = kWhite;
      face.Shadow = true;
      break;
    case 3: face.Ink = {112, 118, 132}; break;
    case 4: face.Ink = {78, 84, 98}; break;
    default: face.Ink = kNightGlyph; break;
  }
  return face;
}

const TFrameLook kFrame{
    kNightCaption,       kNightSide,       kNightBottom,     kNightRadius,    kNightRadius, &MidnightCaptionRow,
    &MidnightBorderRing, kNightButtonSize, kNightButtonSize, kNightButtonTop, -3,           0,
    &MidnightButtonFace, {0, 0, 0}};

// The system-menu chevron left of the title: 6 frames of 14 x 16, faced like the round
// buttons but with a rounded square.
TSkinPicture MenuChevron() {
  constexpr int kW = 14, kH = kNightButtonSize;
  TSkinPicture p{"ctrl-menu.bmp", TPixelBitmap(6 * kW, kH, kKey.Pixel()), 6, false};
  for (int f = 0; f < 6; ++f) {
    TCaptionFace face = MidnightButtonFace(f, false);
    const TBackdrop back{[f](int y) { return MidnightCaptionRow(y + kNightButtonTop, f != 3); }, true};
    if (face.Boxed) {
      face.Box.Corners = TCorners::All(4);
      DrawBox(p.Bitmap, {f * kW, 0, f * kW + kW, kH}, face.Box, back);
    }
    Stamp(p.Bitmap, f * kW + 3, 6, {"#######", "+#####+", ".+###+.", "..+#+.."}, face.Ink, face.Under);
  }
  return p;
}

// The plate behind the caption text: 2 frames of 40 x 26 stacked (active, inactive);
// the 10-px ends hold its rounded corners, the middle is tiled.
TSkinPicture TitlePlate() {
  TSkinPicture p{"title-back.bmp", TPixelBitmap(40, 2 * kNightCaption, kKey.Pixel()), 2, true};
  for (int f = 0; f < 2; ++f) {
    const bool active = f == 0;
    const int top = f * kNightCaption;
    const TBackdrop back{[active, top](int y) { return MidnightCaptionRow(y - top, active); }, true};
    DrawBox(
        p.Bitmap, {0, top + 4, 40, top + kNightCaption - 4},
        active
            ? TBox{{70, 84, 116}, {{0.0, {58, 68, 94}}, {1.0, {40, 47, 66}}}, {110, 130, 170}, 0.35, TCorners::All(6)}
            : TBox{{56, 60, 72}, {{0.0, {50, 54, 64}}, {1.0, {42, 45, 54}}}, kWhite, 0.0, TCorners::All(6)},
        back);
  }
  return p;
}

const TMdiLook kMdi{16,
                    14,
                    0,
                    2,
                    kNightMenuBar,
                    {{24, 70, 140}, {{0.0, {32, 86, 160}}, {1.0, {46, 112, 196}}}, kWhite, 0.0, TCorners::All(3)},
                    {{52, 118, 200}, {{0.0, {86, 150, 226}}, {1.0, {60, 124, 204}}}, kWhite, 0.0, TCorners::All(3)},
                    kNightGlyph,
                    kWhite,
                    {70, 134, 212}};

void AddMenus(std::vector<TSkinPicture>& out) {
  // Menu bar: two frames of 70 x 19 stacked, 1 active window, 2 inactive.
  TSkinPicture bar{"bg-menubar.bmp", TPixelBitmap(70, 38), 2, true};
  FillGradient(bar.Bitmap, {0, 0, 70, 18}, {{0.0, {36, 40, 52}}, {1.0, kNightMenuBar}});
  FillGradient(bar.Bitmap, {0, 18, 70, 19}, TRgb{18, 20, 27});
  FillGradient(bar.Bitmap, {0, 19, 70, 37}, TRgb{36, 39, 48});
  FillGradient(bar.Bitmap, {0, 37, 70, 38}, TRgb{22, 24, 31});
  out.push_back(std::move(bar));

  // Popup background: one opaque frame; its outer rings become the popup's border.
  TSkinPicture back{"bg-menuback.bmp", TPixelBitmap(128, 38), 1, false};
  DrawBox(back.Bitmap, back.Bitmap.Bounds(), {{78, 90, 114}, kNightPopup, {44, 50, 64}, 1.0, {}}, Plain(kNightPopup));
  out.push_back(std::move(back));

  // Items: 5 frames of 124 x 16 over the popup (magenta shows it): 1 normal,
  // 2 separator (its bottom rows), 3 selected but disabled, 4 selected, 5 pressed.
  constexpr int kW = 124, kH = 16;
  TSkinPicture item{"bg-menuitem.bmp", TPixelBitmap(5 * kW, kH, kKey.Pixel()), 5, false};
  const TBackdrop behind = Plain(kNightPopup, true);
  Stamp(item.Bitmap, kW + 4, 11, {std::string(116, '#')}, {18, 20, 27});
  Stamp(item.Bitmap, kW + 4, 12, {std::string(116, '#')}, {60, 66, 82});
  DrawBox(item.Bitmap, {2 * kW, 0, 3 * kW, kH}, {{60, 66, 80}, TRgb{42, 46, 58}, kWhite, 0.0, TCorners::All(3)},
          behind);
  DrawBox(item.Bitmap, {3 * kW, 0, 4 * kW, kH},
          {{70, 140, 216}, {{0.0, {58, 118, 190}}, {1.0, {40, 92, 162}}}, {120, 180, 240}, 0.3, TCorners::All(3)},
          behind);
  DrawBox(item.Bitmap, {4 * kW, 0, 5 * kW, kH},
          {{40, 100, 180}, {{0.0, {30, 74, 138}}, {1.0, {40, 92, 162}}}, kWhite, 0.0, TCorners::All(3)}, behind);
  out.push_back(std::move(item));
}

const TCorners kRound4 = TCorners::All(4);

// Push buttons: 5 frames of 50 x 23 on the face (1 normal, 2 pressed, 3 disabled,
// 4 hot or focused, 5 default).
TSkinPicture PushButtons() {
  constexpr int kW = 50, kH = 23;
  TSkinPicture p{"bg-systembuttons.bmp", TPixelBitmap(5 * kW, kH), 5, false};
  const TGradient raised{{0.0, {70, 78, 98}}, {0.5, {56, 63, 80}}, {1.0, {46, 51, 66}}};
  const TBox boxes[5] = {
      {kNightEdge, raised, {120, 132, 156}, 0.35, kRound4},
      {kNightAccentDeep, {{0.0, {26, 30, 40}}, {1.0, {40, 46, 60}}}, kWhite, 0.0, kRound4},
      {kNightEdgeDisabled, TRgb{42, 46, 58}, kWhite, 0.0, kRound4},
      {kNightAccent, {{0.0, {80, 96, 126}}, {0.5, {64, 76, 102}}, {1.0, {52, 60, 80}}}, {140, 190, 240}, 0.45, kRound4},
      {{64, 124, 198}, raised, kNightAccent, 0.5, kRound4},
  };
  for (int f = 0; f < 5; ++f) DrawBox(p.Bitmap, {f * kW, 0, f * kW + kW, kH}, boxes[f], Plain(kNightFace));
  return p;
}

// Check boxes and radio buttons: 4 frames of 13 x 13 keyed over the face (1 off, 2 on,
// 3 disabled, 4 disabled and on, or indeterminate).
TSkinPicture Marks(bool radio) {
  TSkinPicture p{radio ? "bg-radio.bmp" : "bg-checkbox.bmp", TPixelBitmap(52, 13, kKey.Pixel()), 4, false};
  const TCorners corners = TCorners::All(radio ? 6.5 : 2.5);
  const TRgb well{24, 27, 36}, disabledWell{40, 44, 55};
  for (int f = 0; f < 4; ++f) {
    const bool enabled = f < 2;
    const Rect r{f * 13, 0, f * 13 + 13, 13};
    DrawBox(p.Bitmap, r,
            enabled ? TBox{{110, 122, 146}, {{0.0, {20, 22, 30}}, {1.0, {36, 40, 52}}}, kWhite, 0.0, corners}
                    : TBox{kNightEdgeDisabled, disabledWell, kWhite, 0.0, corners},
            Plain(kNightFace, true));
    if (f % 2 == 0) continue;
    const TRgb ink = enabled ? kNightAccentGlow : kNightGlyphDisabled;
    if (radio)
      DrawBox(p.Bitmap, {r.Left + 4, 4, r.Left + 9, 9},
              {ink, enabled ? TGradient{{0.0, {170, 214, 255}}, {1.0, kNightAccent}} : TGradient{ink}, kWhite, 0.0,
               TCorners::All(2.5)},
              {[&](int y) { return FromPixel(p.Bitmap.Pixel(r.Left + 6, y)); }, false});
    else
      Stamp(p.Bitmap, r.Left + 2, 3,
            {"......##", ".....##+", "#+..##+.", "##+##+..", "+###+...", ".+#+....", "..+....."}, ink,
            enabled ? well : disabledWell);
  }
  return p;
}

// Tool-bar buttons: 5 frames of 75 x 23 (1 flat, 2 pressed, 3 disabled: flat, 4 hot,
// 5 checked).
TSkinPicture ToolbarButtons() {
  constexpr int kW = 75, kH = 23;
  TSkinPicture p{"bg-toolbarbuttons.bmp", TPixelBitmap(5 * kW, kH, kNightFace.Pixel()), 5, false};
  DrawBox(p.Bitmap, {kW, 0, 2 * kW, kH},
          {kNightAccentDeep, {{0.0, {26, 30, 40}}, {1.0, {40, 46, 60}}}, kWhite, 0.0, kRound4}, Plain(kNightFace));
  DrawBox(p.Bitmap, {3 * kW, 0, 4 * kW, kH},
          {kNightAccent, {{0.0, {72, 84, 110}}, {1.0, {52, 60, 80}}}, {140, 190, 240}, 0.3, kRound4},
          Plain(kNightFace));
  DrawBox(p.Bitmap, {4 * kW, 0, 5 * kW, kH},
          {{64, 124, 198}, {{0.0, {34, 52, 80}}, {1.0, {42, 64, 96}}}, kWhite, 0.0, kRound4}, Plain(kNightFace));
  return p;
}

// Tabs: 5 frames of 40 x 19 (1 normal, 2 selected, 3 hot, 4 disabled, 5 as 1). The
// selected tab stands two rows taller, carries an accent cap and opens into the page.
TSkinPicture Tabs() {
  constexpr int kW = 40, kH = 19;
  TSkinPicture p{"bg-tabs.bmp", TPixelBitmap(5 * kW, kH, kNightFace.Pixel()), 5, false};
  const TCorners top = TCorners::Top(4);
  auto tab = [&](int f, const TBox& box) {
    DrawBox(p.Bitmap, {f * kW, 2, f * kW + kW, kH + 1}, box, Plain(kNightFace));
    FillGradient(p.Bitmap, {f * kW, kH - 1, f * kW + kW, kH}, kNightPage);  // the page's top line
  };
  tab(0, {kNightPage, {{0.0, {48, 54, 70}}, {1.0, {34, 38, 50}}}, kWhite, 0.0, top});
  tab(2, {kNightPage, {{0.0, {64, 76, 102}}, {1.0, {44, 52, 70}}}, {140, 190, 240}, 0.3, top});
  tab(3, {kNightEdgeDisabled, TRgb{36, 40, 50}, kWhite, 0.0, top});
  CopyFrame(p.Bitmap, 5, 0, 4);
  const int x0 = kW;
  DrawBox(p.Bitmap, {x0, 0, x0 + kW, kH + 2}, {kNightPage, {{0.0, {60, 68, 88}}, {1.0, kNightFace}}, kWhite, 0.0, top},
          Plain(kNightFace));
  for (int x = x0 + 2; x < x0 + kW - 2; ++x) {
    p.Bitmap.SetPixel(x, 1, kNightAccent.Pixel());
    p.Bitmap.SetPixel(x, 2, kNightAccentDeep.Pixel());
  }
  return p;
}

// The page frame under the tabs: 29 x 28, drawn as a border with the margins 4, 5, 4, 4.
TSkinPicture TabBorders() {
  TSkinPicture p{"bg-tabborders.bmp", TPixelBitmap(29, 28, kNightFace.Pixel()), 1, false};
  DrawBox(p.Bitmap, p.Bitmap.Bounds(), {kNightPage, kNightFace, {58, 64, 82}, 1.0, {}, true}, Plain(kNightFace));
  for (int x = 2; x < 27; ++x) p.Bitmap.SetPixel(x, 26, kNightFaceDeep.Pixel());
  for (int y = 2; y < 27; ++y) p.Bitmap.SetPixel(27, y, kNightFaceDeep.Pixel());
  return p;
}

// Group frames: 2 frames of 25 x 25 (1 normal, 2 disabled); the line sits at row 7.
TSkinPicture GroupBox() {
  TSkinPicture p{"bg-groupbox-border.bmp", TPixelBitmap(50, 25, kNightFace.Pixel()), 2, false};
  const TRgb lines[2] = {{76, 84, 104}, {56, 60, 72}};
  for (int f = 0; f < 2; ++f)
    DrawBox(p.Bitmap, {f * 25, 7, f * 25 + 25, 25}, {lines[f], kNightFace, kNightFaceDeep, 1.0, TCorners::All(4), true},
            Plain(kNightFace));
  return p;
}

// Edit borders: 4 frames of 16 x 19, 1-px margins (1 normal, 2 pressed, 3 disabled,
// 4 hot or focused).
TSkinPicture SunkEdge() {
  const TRgb borders[4] = {kNightEdge, kNightAccentDeep, kNightEdgeDisabled, kNightAccent};
  TSkinPicture p{"sunkedge.bmp", TPixelBitmap(64, 19), 4, false};
  for (int f = 0; f < 4; ++f)
    DrawBox(p.Bitmap, {f * 16, 0, f * 16 + 16, 19},
            {borders[f], f == 2 ? TGradient{TRgb{34, 37, 47}} : TGradient{kNightWell}, kWhite, 0.0, TCorners::All(1.2)},
            Plain(kNightFace));
  return p;
}

// The flat combo button: 4 frames of 16 x 18 (the edit states), stretched whole over the
// button's place inside the box's own flat frame, so each frame carries its arrow.
TSkinPicture FlatComboButton() {
  TSkinPicture p{"combo.bmp", TPixelBitmap(64, 18), 4, false};
  const TGradient fills[4] = {
      {{0.0, {62, 70, 90}}, {1.0, {46, 51, 66}}},
      {{0.0, {26, 30, 40}}, {1.0, {40, 46, 60}}},
      TRgb{40, 44, 55},
      {{0.0, {80, 96, 126}}, {1.0, {56, 66, 90}}},
  };
  const TRgb inks[4] = {kNightGlyph, kNightAccentGlow, kNightGlyphDisabled, kWhite};
  for (int f = 0; f < 4; ++f) {
    const int x0 = f * 16;
    FillGradient(p.Bitmap, {x0, 0, x0 + 16, 18}, fills[f]);
    FillGradient(p.Bitmap, {x0, 0, x0 + 1, 18}, f == 3 ? kNightAccent : kNightEdge);  // the divider
    Stamp(p.Bitmap, x0 + 5, 7, {"#######", "+#####+", ".+###+.", "..+#+.."}, inks[f]);
  }
  return p;
}

// Glyphs over a combo button: 5 frames of 16 x 16, the drop-down arrow in the edit
// states, and frame 5 the status bar's size grip.
TSkinPicture ComboArrows() {
  TSkinPicture p{"combo-arrows.bmp", TPixelBitmap(80, 16, kKey.Pixel()), 5, false};
  const TRgb inks[4] = {kNightGlyph, kNightAccentGlow, kNightGlyphDisabled, kWhite};
  for (int f = 0; f < 4; ++f)
    Stamp(p.Bitmap, f * 16 + 4, 6, {"#######", "+#####+", ".+###+.", "..+#+.."}, inks[f], kNightFace);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j <= i; ++j) {
      const int x = 64 + 13 - 4 * j, y = 13 - 4 * (i - j);
      Stamp(p.Bitmap, x - 1, y - 1, {"##", "##"}, kNightFaceDeep);
      Stamp(p.Bitmap, x - 2, y - 2, {"##", "##"}, {110, 118, 136});
    }
  return p;
}

// Progress in the chunk style: the groove is one picture (40 x 14, keyed over the face),
// the chunk 9 x 8: a 7-px block and a 2-px gap.
TSkinPicture ProgressGroove() {
  TSkinPicture p{"bg-progress.bmp", TPixelBitmap(40, 14, kKey.Pixel()), 1, false};
  DrawBox(p.Bitmap, p.Bitmap.Bounds(),
          {kNightEdge, {{0.0, {16, 18, 24}}, {1.0, kNightWell}}, kWhite, 0.0, TCorners::All(3)},
          Plain(kNightFace, true));
  return p;
}

TSkinPicture ProgressChunk() {
  TSkinPicture p{"bg-progress-chunk.bmp", TPixelBitmap(9, 8, kKey.Pixel()), 1, false};
  DrawBox(p.Bitmap, {0, 0, 7, 8},
          {{40, 104, 186}, {{0.0, {150, 206, 255}}, {1.0, {52, 122, 206}}}, kWhite, 0.0, TCorners::All(1.5)},
          Plain(kNightWell, true));
  return p;
}

// Status bar panels: 3 frames of 32 x 32, the top 5 rows fixed (1 lowered, 2 raised,
// 3 no bevel).
TSkinPicture StatusBar() {
  TSkinPicture p{"bg-statusbar.bmp", TPixelBitmap(96, 32, kNightFace.Pixel()), 3, false};
  FillGradient(p.Bitmap, {0, 0, 32, 1}, TRgb{18, 20, 27});
  FillGradient(p.Bitmap, {0, 1, 32, 2}, TRgb{56, 62, 78});
  FillGradient(p.Bitmap, {0, 2, 32, 32}, {{0.0, {32, 36, 46}}, {1.0, {28, 31, 41}}});
  FillGradient(p.Bitmap, {32, 0, 64, 1}, TRgb{70, 78, 98});
  FillGradient(p.Bitmap, {32, 1, 64, 32}, {{0.0, {48, 54, 70}}, {1.0, {38, 42, 54}}});
  FillGradient(p.Bitmap, {64, 0, 96, 1}, TRgb{24, 27, 35});
  return p;
}

// List headers: 5 frames of 75 x 23, the divider a fixed column on the right
// (1 normal, 2 hot, 3 pressed, 4 disabled, 5 sorted).
TSkinPicture ListHeader() {
  TSkinPicture p{"bg-listheader.bmp", TPixelBitmap(375, 23), 5, false};
  const TGradient fills[5] = {
      {{0.0, {54, 60, 78}}, {1.0, {40, 45, 58}}}, {{0.0, {70, 82, 108}}, {1.0, {50, 58, 78}}},
      {{0.0, {28, 32, 42}}, {1.0, {38, 43, 56}}}, TRgb{40, 44, 55},
      {{0.0, {58, 66, 86}}, {1.0, {44, 50, 66}}},
  };
  const TRgb bottoms[5] = {{24, 27, 35}, kNightAccent, {18, 20, 27}, {34, 37, 47}, kNightAccentDeep};
  for (int f = 0; f < 5; ++f) {
    const int x0 = f * 75;
    FillGradient(p.Bitmap, {x0, 0, x0 + 75, 21}, fills[f]);
    FillGradient(p.Bitmap, {x0, 21, x0 + 75, 23}, bottoms[f]);
    FillGradient(p.Bitmap, {x0 + 74, 3, x0 + 75, 19}, TRgb{76, 84, 104});
  }
  return p;
}

const TBox kRaised{kNightEdge, {{0.0, {66, 74, 94}}, {1.0, {48, 54, 70}}}, {110, 122, 146}, 0.3, {}};
const TBox kPressed{kNightAccentDeep, {{0.0, {26, 30, 40}}, {1.0, {40, 46, 60}}}, kWhite, 0.0, {}};
const TBox kDisabled{kNightEdgeDisabled, TRgb{40, 44, 55}, kWhite, 0.0, {}};
const TBox kHot{kNightAccent, {{0.0, {84, 100, 132}}, {1.0, {58, 68, 92}}}, {140, 190, 240}, 0.35, {}};

TBox Rounded(TBox box, double radius) {
  box.Corners = TCorners::All(radius);
  return box;
}

const TControlLook kControls{
    kNightFace,
    kNightTrack,
    {kRaised, kPressed, kDisabled, kHot},
    {kNightGlyph, kNightAccentGlow, kNightGlyphDisabled, kWhite},
    kNightFace,
    {Rounded(kRaised, 3), Rounded(kPressed, 3), Rounded(kDisabled, 3), Rounded(kHot, 3)},
    {kNightGlyph, kNightAccentGlow, kNightGlyphDisabled, kWhite},
    {kNightTrack, {24, 27, 35}, {34, 37, 47}, {30, 35, 48}},
    {60, 66, 84},
    0.5,
    0.3,
    2,  // normal and dragged: the scroll bar draws no other
    {{{0.0, {86, 98, 124}}, {1.0, {62, 72, 94}}},
     {{0.0, {96, 160, 230}}, {1.0, {52, 112, 190}}},
     {{0.0, {96, 110, 140}}, {1.0, {72, 84, 108}}}},
    {{100, 112, 138}, {60, 130, 210}, {110, 124, 152}},
    {150, 164, 190},
    0.3,
    {{{0.0, {120, 180, 246}}, {1.0, {62, 128, 210}}},
     {{0.0, {110, 124, 152}}, {1.0, {70, 80, 104}}},
     {{0.0, {52, 112, 190}}, {1.0, {36, 84, 156}}},
     {TRgb{52, 56, 68}},
     {{0.0, {110, 124, 152}}, {1.0, {70, 80, 104}}}},
    {kNightAccent, {130, 142, 168}, kNightAccentDeep, kNightEdgeDisabled, kNightAccent},
    0.2,
    kNightAccentGlow,
};

}  // namespace

void AddMidnightPictures(std::vector<TSkinPicture>& out) {
  AddFrameEdges(kFrame, out);
  AddCaptionButtons(kFrame, out);
  // The frame and its buttons again at double size, for 175 % and above: round corners
  // and discs drawn at that size rather than resampled.
  TFrameLook twice = kFrame;
  twice.Scale = 2;
  AddFrameEdges(twice, out);
  AddCaptionButtons(twice, out);
  out.push_back(MenuChevron());
  out.push_back(TitlePlate());
  out.push_back(MdiButtons(kMdi));
  AddMenus(out);
  out.push_back(PushButtons());
  out.push_back(Marks(false));
  out.push_back(Marks(true));
  out.push_back(ToolbarButtons());
  out.push_back(Tabs());
  out.push_back(TabBorders());
  out.push_back(GroupBox());
  out.push_back(SunkEdge());
  out.push_back(FlatComboButton());
  out.push_back(ComboArrows());
  out.push_back(ProgressGroove());
  out.push_back(ProgressChunk());
  AddScrollAndRangePictures(kControls, out);
  out.push_back(StatusBar());
  out.push_back(ListHeader());
}

}  // namespace kv::skingen
