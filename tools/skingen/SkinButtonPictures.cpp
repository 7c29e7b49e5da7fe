// Push buttons, check boxes, radio buttons, tool-bar buttons, tabs, group frames, edit
// borders and the combo-box button.
#include <cmath>

#include "SkinPalette.h"

namespace kv::skingen {
namespace {

const TCorners kRound3 = TCorners::All(3);

// Push buttons: 5 frames of 50 x 23 on the face (1 normal, 2 pressed, 3 disabled,
// 4 hot or focused, 5 default).
TSkinPicture PushButtons() {
  constexpr int kW = 50, kH = 23;
  TSkinPicture p{"bg-systembuttons.bmp", TPixelBitmap(5 * kW, kH), 5, false};
  const TBackdrop face = Plain(kFace);
  const TGradient glass{
      {0.0, {255, 255, 254}}, {0.45, {247, 245, 238}}, {0.55, {238, 235, 224}}, {1.0, {224, 219, 201}}};
  const TBox boxes[5] = {
      {{118, 132, 142}, glass, kWhite, 0.7, kRound3},
      {{82, 112, 134}, {{0.0, {206, 201, 182}}, {0.3, {222, 218, 202}}, {1.0, {236, 233, 222}}}, kWhite, 0.0, kRound3},
      {kEdgeDisabled, {{0.0, {246, 244, 238}}, {1.0, {236, 233, 222}}}, kWhite, 0.0, kRound3},
      {kAccent,
       {{0.0, {255, 255, 255}}, {0.45, {240, 246, 249}}, {0.55, {226, 238, 244}}, {1.0, {204, 224, 235}}},
       {190, 218, 232},
       0.9,
       kRound3},
      {{80, 118, 146}, glass, kHilight, 0.8, kRound3},
  };
  for (int f = 0; f < 5; ++f) DrawBox(p.Bitmap, {f * kW, 0, f * kW + kW, kH}, boxes[f], face);
  return p;
}

// Check boxes: 4 frames of 13 x 13 (1 unchecked, 2 checked, 3 disabled, 4 disabled
// checked or indeterminate).
TSkinPicture CheckBoxes() {
  TSkinPicture p{"bg-checkbox.bmp", TPixelBitmap(52, 13, kKey.Pixel()), 4, false};
  const TBackdrop face = Plain(kFace, true);
  for (int f = 0; f < 4; ++f) {
    const bool enabled = f < 2;
    const Rect r{f * 13, 0, f * 13 + 13, 13};
    if (enabled)
      DrawBox(p.Bitmap, r,
              {{86, 116, 140},
               {{0.0, {218, 216, 206}}, {0.35, {246, 246, 242}}, {1.0, {255, 255, 255}}},
               kWhite,
               0.0,
               TCorners::All(1.6)},
              face);
    else
      DrawBox(p.Bitmap, r, {kEdgeDisabled, TRgb{244, 242, 236}, kWhite, 0.0, TCorners::All(1.6)}, face);
    if (f % 2 == 1)
      Stamp(p.Bitmap, r.Left + 2, 3,
            {"......##", ".....##+", "#+..##+.", "##+##+..", "+###+...", ".+#+....", "..+....."},
            enabled ? kAccentDeep : kGlyphDisabled, enabled ? kWhite : TRgb{244, 242, 236});
  }
  return p;
}

// Radio buttons: 4 frames of 13 x 13, the same states as the check boxes.
TSkinPicture RadioButtons() {
  TSkinPicture p{"bg-radio.bmp", TPixelBitmap(52, 13, kKey.Pixel()), 4, false};
  const TBackdrop face = Plain(kFace, true);
  for (int f = 0; f < 4; ++f) {
    const bool enabled = f < 2;
    const Rect r{f * 13, 0, f * 13 + 13, 13};
    if (enabled)
      DrawBox(p.Bitmap, r,
              {{86, 116, 140},
               {{0.0, {218, 216, 206}}, {0.35, {246, 246, 242}}, {1.0, {255, 255, 255}}},
               kWhite,
               0.0,
               TCorners::All(6.5)},
              face);
    else
      DrawBox(p.Bitmap, r, {kEdgeDisabled, TRgb{244, 242, 236}, kWhite, 0.0, TCorners::All(6.5)}, face);
    if (f % 2 == 1) {
      const Rect dot{r.Left + 4, 4, r.Left + 9, 9};
      const TRgb fill = enabled ? kAccentDeep : kGlyphDisabled;
      DrawBox(p.Bitmap, dot,
              {fill, enabled ? TGradient{{0.0, {96, 156, 196}}, {1.0, {20, 88, 140}}} : TGradient{fill}, kWhite, 0.0,
               TCorners::All(2.5)},
              {[&](int y) { return FromPixel(p.Bitmap.Pixel(r.Left + 6, y)); }, false});
    }
  }
  return p;
}

// Tool-bar buttons: 5 frames of 75 x 23 (1 normal: flat, 2 pressed, 3 disabled: flat,
// 4 hot, 5 checked).
TSkinPicture ToolbarButtons() {
  constexpr int kW = 75, kH = 23;
  TSkinPicture p{"bg-toolbarbuttons.bmp", TPixelBitmap(5 * kW, kH, kFace.Pixel()), 5, false};
  const TBackdrop face = Plain(kFace);
  DrawBox(p.Bitmap, {kW, 0, 2 * kW, kH},
          {{100, 130, 152}, {{0.0, {200, 216, 224}}, {1.0, {224, 234, 240}}}, kWhite, 0.0, kRound3}, face);
  DrawBox(p.Bitmap, {3 * kW, 0, 4 * kW, kH},
          {kAccent, {{0.0, {255, 255, 255}}, {0.5, {236, 244, 248}}, {1.0, {212, 229, 238}}}, kWhite, 0.6, kRound3},
          face);
  DrawBox(p.Bitmap, {4 * kW, 0, 5 * kW, kH},
          {{112, 140, 160}, {{0.0, {218, 230, 236}}, {1.0, {232, 240, 244}}}, kWhite, 0.0, kRound3}, face);
  return p;
}

// Tabs: 5 frames of 40 x 19 (1 normal, 2 selected, 3 hot, 4 disabled, 5 as 1). The
// selected tab stands two rows taller and opens into the page below it.
TSkinPicture Tabs() {
  constexpr int kW = 40, kH = 19;
  TSkinPicture p{"bg-tabs.bmp", TPixelBitmap(5 * kW, kH, kFace.Pixel()), 5, false};
  const TBackdrop face = Plain(kFace);
  const TCorners top = TCorners::Top(3);
  const TRgb page{146, 154, 158};
  auto tab = [&](int f, const TBox& box) {
    DrawBox(p.Bitmap, {f * kW, 2, f * kW + kW, kH + 1}, box, face);
    FillGradient(p.Bitmap, {f * kW, kH - 1, f * kW + kW, kH}, page);  // the page's top line
  };
  tab(0, {page, {{0.0, {252, 251, 246}}, {1.0, {228, 223, 205}}}, kWhite, 0.6, top});
  tab(2, {page, {{0.0, {255, 255, 255}}, {1.0, {214, 230, 238}}}, kWhite, 0.6, top});
  tab(3, {kEdgeDisabled, {{0.0, {246, 244, 238}}, {1.0, {234, 230, 216}}}, kWhite, 0.0, top});
  CopyFrame(p.Bitmap, 5, 0, 4);
  // Selected: full height, an accent cap, its fill running into the page's face.
  const int x0 = kW;
  DrawBox(p.Bitmap, {x0, 0, x0 + kW, kH + 2}, {page, {{0.0, {255, 255, 255}}, {1.0, kFace}}, kWhite, 0.8, top}, face);
  for (int x = x0 + 2; x < x0 + kW - 2; ++x) {
    p.Bitmap.SetPixel(x, 1, kAccent.Pixel());
    p.Bitmap.SetPixel(x, 2, kHilight.Pixel());
  }
  p.Bitmap.SetPixel(x0 + 1, 1, Mix(kAccent, kWhite, 0.4).Pixel());
  p.Bitmap.SetPixel(x0 + kW - 2, 1, Mix(kAccent, kWhite, 0.4).Pixel());
  return p;
}

// The page frame under the tabs: one frame of 29 x 28, drawn as a border with the
// margins 4, 5, 4, 4 (the page keeps its own centre).
TSkinPicture TabBorders() {
  TSkinPicture p{"bg-tabborders.bmp", TPixelBitmap(29, 28, kFace.Pixel()), 1, false};
  DrawBox(p.Bitmap, p.Bitmap.Bounds(), {{146, 154, 158}, kFace, kWhite, 0.75, {}, true}, Plain(kFace));
  for (int x = 2; x < 27; ++x) p.Bitmap.SetPixel(x, 26, Mix(kFace, kFaceShade, 0.8).Pixel());
  for (int y = 2; y < 27; ++y) p.Bitmap.SetPixel(27, y, Mix(kFace, kFaceShade, 0.8).Pixel());
  return p;
}

// Group frames: 2 frames of 25 x 25 (1 normal, 2 disabled); the top line sits at the
// middle of the caption's 16 rows.
TSkinPicture GroupBox() {
  TSkinPicture p{"bg-groupbox-border.bmp", TPixelBitmap(50, 25, kFace.Pixel()), 2, false};
  const TRgb lines[2] = {{188, 182, 162}, {214, 209, 192}};
  for (int f = 0; f < 2; ++f) {
    DrawBox(p.Bitmap, {f * 25, 7, f * 25 + 25, 25}, {lines[f], kFace, kWhite, 0.9, TCorners::All(3), true},
            Plain(kFace));
  }
  return p;
}

// Edit and combo borders: 4 frames of 16 x 19, 1-px margins (1 normal, 2 pressed,
// 3 disabled, 4 hot or focused). The centre's top row gives a hairline inner shadow.
const TRgb kEditBorders[4] = {{138, 150, 158}, kAccentDeep, kEdgeDisabled, kAccent};

TSkinPicture SunkEdge() {
  TSkinPicture p{"sunkedge.bmp", TPixelBitmap(64, 19), 4, false};
  for (int f = 0; f < 4; ++f) {
    const TRgb inside = f == 2 ? TRgb{244, 242, 236} : kWell;
    const TRgb shadow = Mix(inside, kEditBorders[f], 0.18);
    DrawBox(p.Bitmap, {f * 16, 0, f * 16 + 16, 19},
            {kEditBorders[f], {{0.0, shadow}, {0.06, inside}, {1.0, inside}}, kWhite, 0.0, TCorners::All(1.2)},
            Plain(kFace));
  }
  return p;
}

// The combo-box button: 4 frames of 16 x 21 (the edit-border states), stretched over the
// right end of the box: column 0 is still the edit's well, column 1 the divider, the
// last column and the top and bottom rows the box's own border.
TSkinPicture ComboButton() {
  TSkinPicture p{"combo.bmp", TPixelBitmap(64, 21), 4, false};
  const TGradient fills[4] = {
      {{0.0, {255, 255, 254}}, {0.5, {244, 242, 234}}, {1.0, {226, 221, 204}}},
      {{0.0, {190, 212, 226}}, {1.0, {216, 230, 238}}},
      TRgb{242, 240, 233},
      {{0.0, {255, 255, 255}}, {0.5, {234, 243, 248}}, {1.0, {206, 226, 237}}},
  };
  for (int f = 0; f < 4; ++f) {
    const int x0 = f * 16;
    const TRgb well = f == 2 ? TRgb{244, 242, 236} : kWell;
    FillGradient(p.Bitmap, {x0, 0, x0 + 16, 21}, kEditBorders[f]);
    FillGradient(p.Bitmap, {x0, 1, x0 + 1, 20}, well);
    FillGradient(p.Bitmap, {x0 + 1, 1, x0 + 2, 20}, f == 3 || f == 1 ? Mix(kEditBorders[f], kWhite, 0.3) : kEdgeSoft);
    FillGradient(p.Bitmap, {x0 + 2, 1, x0 + 15, 20}, fills[f]);
    if (f != 1 && f != 2) FillGradient(p.Bitmap, {x0 + 2, 1, x0 + 15, 2}, kWhite);
    const TRgb corner = Mix(kEditBorders[f], kFace, 0.45);
    p.Bitmap.SetPixel(x0 + 15, 0, corner.Pixel());
    p.Bitmap.SetPixel(x0 + 15, 20, corner.Pixel());
  }
  return p;
}

// Glyphs over the combo button: 5 frames of 16 x 16, the drop-down arrow in the edit
// states, and frame 5 the status bar's size grip.
TSkinPicture ComboArrows() {
  TSkinPicture p{"combo-arrows.bmp", TPixelBitmap(80, 16, kKey.Pixel()), 5, false};
  const TRgb inks[4] = {kGlyph, kAccentDeep, kGlyphDisabled, {24, 70, 110}};
  for (int f = 0; f < 4; ++f)
    Stamp(p.Bitmap, f * 16 + 4, 6, {"#######", "+#####+", ".+###+.", "..+#+.."}, inks[f], kWhite);
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j <= i; ++j) {
      const int x = 64 + 13 - 4 * j, y = 13 - 4 * (i - j);
      Stamp(p.Bitmap, x - 1, y - 1, {"##", "##"}, kWhite);
      Stamp(p.Bitmap, x - 2, y - 2, {"##", "##"}, {150, 146, 130});
    }
  return p;
}

}  // namespace

void AddButtonPictures(std::vector<TSkinPicture>& out) {
  out.push_back(PushButtons());
  out.push_back(CheckBoxes());
  out.push_back(RadioButtons());
  out.push_back(ToolbarButtons());
  out.push_back(Tabs());
  out.push_back(TabBorders());
  out.push_back(GroupBox());
  out.push_back(SunkEdge());
  out.push_back(ComboButton());
  out.push_back(ComboArrows());
}

}  // namespace kv::skingen
