// Mock-ups: the pictures put together the way the frame and the control skins draw
// them, so the skin can be judged as a whole. Text is only suggested by bars.
#include <stdexcept>

#include "SkinGen.h"
#include "SkinPalette.h"
#include "skin/data/SkinImage.h"

namespace kv::skingen {
namespace {

class TMockup {
 public:
  explicit TMockup(const std::vector<TSkinPicture>& pictures)
      : FPictures(pictures), FCanvas(980, 640, TRgb{186, 190, 194}.Pixel()) {}

  const TPixelBitmap& Pic(const std::string& name) const {
    for (const TSkinPicture& p : FPictures)
      if (p.Name == name) return p.Bitmap;
    throw std::logic_error("no picture " + name);
  }

  // A nine-slice element, keyed or not.
  void Element(const char* name, const Rect& r, int frames, int frame, Margins m, bool keyed, bool tile = false) {
    TDrawFlags flags = keyed ? TDrawFlags::dfTransparent : TDrawFlags::dfNone;
    if (tile) flags = flags | TDrawFlags::dfTile;
    DrawSkinImage(FCanvas, r, Pic(name), flags, frames, frame, m);
  }
  void Stretched(const char* name, const Rect& r, int frames, int frame) {
    DrawFrameStretched(FCanvas, r, Pic(name), TDrawFlags::dfTransparent, frames, frame);
  }
  void TextBar(int x, int y, int w, TRgb c) { FCanvas.FillRect({x, y, x + w, y + 6}, c.Pixel()); }
  void Fill(const Rect& r, TRgb c) { FCanvas.FillRect(r, c.Pixel()); }

  // A skinned window: frame edges, caption buttons, menu bar, face-coloured client.
  void Window(int x, int y, int w, int h, bool active, bool menu) {
    const int frame = active ? 1 : 2;
    const auto vert = TDrawFlags::dfVertical | TDrawFlags::dfTransparent;
    DrawSkinImage(FCanvas, {x, y, x + 4, y + h}, Pic("f-left.bmp"), TDrawFlags::dfTransparent, 2, frame, {0, 30, 0, 5});
    DrawSkinImage(FCanvas, {x + w - 4, y, x + w, y + h}, Pic("f-right.bmp"), TDrawFlags::dfTransparent, 2, frame,
                  {0, 30, 0, 5});
    DrawSkinImage(FCanvas, {x + 4, y + h - 4, x + w - 4, y + h}, Pic("f-bot.bmp"), TDrawFlags::dfVertical, 2, frame,
                  {3, 0, 6, 0});
    DrawSkinImage(FCanvas, {x + 4, y, x + w - 4, y + 30}, Pic("f-top.bmp"), vert, 2, frame, {20, 0, 20, 0});
    const int capFrame = active ? 1 : 4;
    Stretched("ctrl-close.bmp", {x + w - 30, y + 8, x + w - 10, y + 23}, 6, capFrame);
    Stretched("ctrl-max.bmp", {x + w - 56, y + 8, x + w - 36, y + 23}, 6, capFrame);
    Stretched("ctrl-min.bmp", {x + w - 82, y + 8, x + w - 62, y + 23}, 6, capFrame);
    Stretched("ctrl-icon.bmp", {x + 8, y + 7, x + 24, y + 23}, 6, capFrame);
    TextBar(x + 30, y + 12, 96, active ? kWhite : TRgb{100, 100, 100});
    int top = y + 30;
    if (menu) {
      DrawSkinImage(FCanvas, {x + 4, top, x + w - 4, top + 19}, Pic("bg-menubar.bmp"), TDrawFlags::dfVertical, 2, frame,
                    {4, 0, 4, 0});
      for (int i = 0; i < 4; ++i) TextBar(x + 14 + i * 44, top + 7, 26, kBlack);
      top += 19;
    }
    Fill({x + 4, top, x + w - 4, y + h - 4}, kFace);
  }

  void PushButton(int x, int y, int w, int h, int state) {
    Element("bg-systembuttons.bmp", {x, y, x + w, y + h}, 5, state, {16, 11, 18, 11}, false);
    TextBar(x + w / 2 - 14, y + h / 2 - 3, 28, state == 3 ? TRgb{192, 192, 192} : kBlack);
  }
  void Edit(int x, int y, int w, int state) {
    Element("sunkedge.bmp", {x, y, x + w, y + 21}, 4, state, {1, 1, 1, 1}, false);
    TextBar(x + 5, y + 8, w / 3, state == 3 ? kGlyphDisabled : kBlack);
  }
  void Combo(int x, int y, int w, int state) {
    Edit(x, y, w, state);
    Stretched("combo.bmp", {x + w - 18, y, x + w, y + 21}, 4, state);
    Stretched("combo-arrows.bmp", {x + w - 17, y + 2, x + w - 1, y + 18}, 5, state);
  }
  void Check(int x, int y, int frame, bool radio) {
    Stretched(radio ? "bg-radio.bmp" : "bg-checkbox.bmp", {x, y, x + 13, y + 13}, 4, frame);
    TextBar(x + 19, y + 4, 60, frame > 2 ? kGlyphDisabled : kBlack);
  }
  void GroupBox(int x, int y, int w, int h) {
    Element("bg-groupbox-border.bmp", {x, y, x + w, y + h}, 2, 1, {5, 16, 5, 5}, false);
    Fill({x + 8, y + 4, x + 78, y + 11}, kFace);
    TextBar(x + 10, y + 4, 64, kBlack);
  }
  void Tabs(int x, int y, int w, int h) {
    const int tabW = 64;
    for (int i = 0; i < 4; ++i)
      if (i != 0)
        Element("bg-tabs.bmp", {x + 2 + i * tabW, y + 2, x + 2 + (i + 1) * tabW, y + 23}, 5, i == 2 ? 3 : 1,
                {20, 14, 19, 4}, false);
    DrawNineSliceBorder(FCanvas, {x, y + 22, x + w, y + h}, Pic("bg-tabborders.bmp"), false, 1, 1, {4, 5, 4, 4});
    Element("bg-tabs.bmp", {x, y, x + tabW + 4, y + 24}, 5, 2, {20, 14, 19, 4}, false);
    for (int i = 0; i < 4; ++i) TextBar(x + 16 + i * tabW, y + 11, 34, kBlack);
  }
  void Progress(int x, int y, int w, int percent) {
    Element("bg-progress.bmp", {x, y, x + w, y + 15}, 2, 1, {9, 6, 8, 6}, true);
    Element("bg-progress.bmp", {x, y, x + w * percent / 100, y + 15}, 2, 2, {9, 6, 8, 6}, true);
  }
  void ScrollBar(int x, int y, int length, bool vertical, int thumbAt, int thumbLength, bool dragged) {
    const Rect bar = vertical ? Rect{x, y, x + 16, y + length} : Rect{x, y, x + length, y + 16};
    Fill(bar, {0, 74, 128});
    if (vertical) {
      Element("vscroll_back.bmp", {x, y + 16, x + 16, y + length - 16}, 4, 1, {8, 6, 6, 6}, false, true);
      Stretched("arrows.bmp", {x, y, x + 16, y + 16}, 23, 9);
      Stretched("arrows.bmp", {x, y + length - 16, x + 16, y + length}, 23, 14);
      Element("vscroll_bar.bmp", {x, y + 16 + thumbAt, x + 16, y + 16 + thumbAt + thumbLength}, 3, dragged ? 2 : 1,
              {2, 5, 2, 6}, false);
    } else {
      Element("hscroll_back.bmp", {x + 16, y, x + length - 16, y + 16}, 4, 1, {6, 8, 6, 6}, false);
      Stretched("arrows.bmp", {x, y, x + 16, y + 16}, 23, 1);
      Stretched("arrows.bmp", {x + length - 16, y, x + length, y + 16}, 23, 8);
      Element("hscroll_bar.bmp", {x + 16 + thumbAt, y, x + 16 + thumbAt + thumbLength, y + 16}, 3, dragged ? 2 : 1,
              {5, 2, 6, 2}, false);
    }
  }
  void Popup(int x, int y, int w) {
    const int h = 3 + 4 * 20 + 8 + 3;
    Element("bg-menuback.bmp", {x, y, x + w, y + h}, 1, 1, {5, 5, 5, 5}, false);
    int top = y + 3;
    for (int i = 0; i < 5; ++i) {
      if (i == 3) {  // a separator: the bottom rows of frame 2
        const TPixelBitmap& item = Pic("bg-menuitem.bmp");
        TPixelBitmap sep(124, 8);
        CopyPixels(sep, 0, 0, item, {124, 8, 248, 16});
        DrawSkinImage(FCanvas, {x + 3, top, x + w - 3, top + 8}, sep, TDrawFlags::dfTransparent, 1, 1, {10, 0, 10, 0});
        top += 8;
        continue;
      }
      Element("bg-menuitem.bmp", {x + 3, top, x + w - 3, top + 20}, 5, i == 1 ? 4 : 1, {10, 9, 10, 6}, true);
      TextBar(x + 30, top + 7, 60 + 8 * (i % 2), kBlack);
      top += 20;
    }
  }

  TPixelBitmap Take() { return std::move(FCanvas); }

 private:
  const std::vector<TSkinPicture>& FPictures;
  TPixelBitmap FCanvas;
};

}  // namespace

TPixelBitmap RenderMockups(const std::vector<TSkinPicture>& pictures) {
  TMockup m(pictures);
  // The editor's window, 333 x 541: tabs, group frames with edits, options, buttons.
  const int wx = 12, wy = 12;
  m.Window(wx, wy, 333, 541, true, false);
  m.Tabs(wx + 10, wy + 38, 313, 444);
  for (int g = 0; g < 3; ++g) {
    const int gy = wy + 72 + g * 62;
    m.GroupBox(wx + 20, gy, 293, 54);
    m.Edit(wx + 30, gy + 22, 200, g == 1 ? 4 : 1);
    m.PushButton(wx + 238, gy + 21, 66, 23, g == 2 ? 3 : 1);
  }
  m.Combo(wx + 30, wy + 266, 160, 1);
  m.Combo(wx + 200, wy + 266, 110, 4);
  m.Check(wx + 32, wy + 300, 2, false);
  m.Check(wx + 32, wy + 320, 1, false);
  m.Check(wx + 32, wy + 340, 4, false);
  m.Check(wx + 170, wy + 300, 2, true);
  m.Check(wx + 170, wy + 320, 1, true);
  m.Check(wx + 170, wy + 340, 3, true);
  m.Progress(wx + 30, wy + 372, 270, 62);
  m.ScrollBar(wx + 30, wy + 400, 270, false, 60, 90, false);
  m.Edit(wx + 30, wy + 428, 120, 3);
  m.PushButton(wx + 78, wy + 496, 75, 25, 4);
  m.PushButton(wx + 161, wy + 496, 75, 25, 1);
  m.PushButton(wx + 244, wy + 496, 75, 25, 2);

  // An inactive window with a menu bar and an open popup.
  m.Window(370, 12, 300, 220, false, true);
  m.Popup(386, 60, 150);
  m.ScrollBar(640, 62, 160, true, 30, 50, true);

  // Buttons in every state, tool-bar buttons, header, status bar.
  for (int s = 1; s <= 5; ++s) m.PushButton(370 + (s - 1) * 84, 250, 78, 25, s);
  for (int s = 1; s <= 5; ++s)
    m.Element("bg-toolbarbuttons.bmp", {370 + (s - 1) * 84, 286, 370 + (s - 1) * 84 + 40, 310}, 5, s, {10, 11, 10, 11},
              false);
  for (int s = 1; s <= 5; ++s)
    m.Element("bg-listheader.bmp", {370 + (s - 1) * 84, 322, 370 + s * 84, 345}, 5, s, {0, 0, 1, 0}, false);
  for (int b = 1; b <= 3; ++b)
    m.Element("bg-statusbar.bmp", {370 + (b - 1) * 140, 360, 370 + b * 140 - 2, 382}, 3, b, {0, 5, 0, 0}, false);
  // Up-downs with their arrow strips, track-bar thumbs, the MDI buttons.
  for (int s = 1; s <= 4; ++s) {
    const int x = 370 + (s - 1) * 40;
    m.Stretched("spinner-v.bmp", {x, 400, x + 16, 410}, 8, s);
    m.Stretched("spinner-v.bmp", {x, 410, x + 16, 420}, 8, s + 4);
    m.Stretched("spinner-v-glyphs.bmp", {x + 4, 403, x + 11, 407}, 8, s);
    m.Stretched("spinner-v-glyphs.bmp", {x + 4, 413, x + 11, 417}, 8, s + 4);
    m.Stretched("spinner-h.bmp", {x + 18, 400, x + 27, 421}, 8, s);
    m.Stretched("spinner-h.bmp", {x + 27, 400, x + 36, 421}, 8, s + 4);
    m.Stretched("spinner-h-glyphs.bmp", {x + 21, 407, x + 25, 414}, 8, s);
    m.Stretched("spinner-h-glyphs.bmp", {x + 29, 407, x + 33, 414}, 8, s + 4);
  }
  const char* thumbs[] = {"trackbarthumbhorz.bmp", "trackbarthumbup.bmp", "trackbarthumbdown.bmp"};
  for (int i = 0; i < 3; ++i) m.Stretched(thumbs[i], {540 + i * 20, 400, 551 + i * 20, 421}, 5, 2);
  const char* sideThumbs[] = {"trackbarthumbvert.bmp", "trackbarthumbleft.bmp", "trackbarthumbright.bmp"};
  for (int i = 0; i < 3; ++i) m.Stretched(sideThumbs[i], {610, 400 + i * 15, 631, 411 + i * 15}, 5, 2);
  m.Fill({650, 400, 760, 420}, kFace);
  for (int i = 0; i < 3; ++i)
    for (int s = 1; s <= 4; s += 3)
      m.Stretched("button-mdi.bmp", {654 + i * 17 + (s == 4 ? 52 : 0), 405, 669 + i * 17 + (s == 4 ? 52 : 0), 415}, 12,
                  i * 4 + s);
  return m.Take();
}

}  // namespace kv::skingen
