// Mock-ups: the pictures put together the way the frame and the control skins draw
// them, so the skin can be judged as a whole. Text is only suggested by bars.
#include <stdexcept>

#include "SkinGen.h"
#include "SkinMidnightPalette.h"
#include "SkinPalette.h"
#include "skin/data/SkinImage.h"

namespace kv::skingen {
namespace {

// A caption button as the definition places it: Align 1 from the right edge, Align 2 and
// 8 left of the caption text, else at (X, Y).
struct TMockButton {
  const char* Name;
  int Align, X, Y, Width, Height;
};

// What differs between the skins' mock-ups: the frame, the caption, the colours and the
// styles of progress, combo and scroll thumbs.
struct TMockLook {
  int Caption, Side, Bottom;
  int SideBottom;               // the sides' fixed bottom part
  int BottomLeft, BottomRight;  // the bottom piece's fixed ends
  bool KeyedBottom;
  std::vector<TMockButton> Buttons;
  int TextLeft;  // the caption text's left edge from the window's
  bool TitlePlate;
  int PlateEnds;
  TRgb Face, Text, TextDisabled, TitleActive, TitleInactive, ScrollColour, Shadow;
  bool ChunkProgress, FlatCombo;
  int ThumbFrames;
  int MdiWidth, MdiHeight;
};

TMockLook KoraventMock() {
  return {30,
          4,
          4,
          5,
          3,
          6,
          false,
          {{"ctrl-close.bmp", 1, 30, 8, 20, 15},
           {"ctrl-max.bmp", 1, 56, 8, 20, 15},
           {"ctrl-min.bmp", 1, 82, 8, 20, 15},
           {"ctrl-icon.bmp", 0, 8, 7, 16, 16}},
          30,
          false,
          0,
          kFace,
          kBlack,
          kGlyphDisabled,
          kWhite,
          {100, 100, 100},
          {0, 74, 128},
          {192, 192, 192},
          false,
          false,
          3,
          15,
          10};
}

TMockLook MidnightMock() {
  const int left = kNightSide + 41;
  return {kNightCaption,
          kNightSide,
          kNightBottom,
          11,
          6,
          6,
          true,
          {{"ctrl-close.bmp", 1, 25, 5, 16, 16},
           {"ctrl-max.bmp", 1, 45, 5, 16, 16},
           {"ctrl-min.bmp", 1, 65, 5, 16, 16},
           {"ctrl-menu.bmp", 8, 4, 5, 14, 16}},
          left,
          true,
          10,
          kNightFace,
          {225, 230, 240},
          {110, 118, 134},
          {236, 240, 248},
          {128, 134, 148},
          kNightTrack,
          {110, 118, 134},
          true,
          true,
          2,
          16,
          14};
}

class TMockup {
 public:
  TMockup(const std::vector<TSkinPicture>& pictures, TMockLook look)
      : FPictures(pictures), FLook(std::move(look)), FCanvas(980, 640, TRgb{186, 190, 194}.Pixel()) {}

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
    const TMockLook& k = FLook;
    const int frame = active ? 1 : 2, S = k.Side, B = k.Bottom, C = k.Caption;
    const auto vert = TDrawFlags::dfVertical | TDrawFlags::dfTransparent;
    DrawSkinImage(FCanvas, {x, y, x + S, y + h}, Pic("f-left.bmp"), TDrawFlags::dfTransparent, 2, frame,
                  {0, C, 0, k.SideBottom});
    DrawSkinImage(FCanvas, {x + w - S, y, x + w, y + h}, Pic("f-right.bmp"), TDrawFlags::dfTransparent, 2, frame,
                  {0, C, 0, k.SideBottom});
    DrawSkinImage(FCanvas, {x + S, y + h - B, x + w - S, y + h}, Pic("f-bot.bmp"),
                  k.KeyedBottom ? vert : TDrawFlags::dfVertical, 2, frame, {k.BottomLeft, 0, k.BottomRight, 0});
    DrawSkinImage(FCanvas, {x + S, y, x + w - S, y + C}, Pic("f-top.bmp"), vert, 2, frame, {20, 0, 20, 0});
    const int textLeft = x + k.TextLeft, textWidth = 96 + 2 * k.PlateEnds;
    if (k.TitlePlate)
      DrawThreeSliceTiled(FCanvas, {textLeft, y, textLeft + textWidth, y + C}, Pic("title-back.bmp"), vert, 2, frame,
                          {k.PlateEnds, 0, k.PlateEnds, 0});
    const int capFrame = active ? 1 : 4;
    for (const TMockButton& b : k.Buttons) {
      const int bx = b.Align == 1 ? x + w - b.X : b.Align == 2 || b.Align == 8 ? textLeft - b.Width - b.X : x + b.X;
      Stretched(b.Name, {bx, y + b.Y, bx + b.Width, y + b.Y + b.Height}, 6, capFrame);
    }
    TextBar(textLeft + k.PlateEnds, y + C / 2 - 3, 96, active ? k.TitleActive : k.TitleInactive);
    int top = y + C;
    if (menu) {
      DrawSkinImage(FCanvas, {x + S, top, x + w - S, top + 19}, Pic("bg-menubar.bmp"), TDrawFlags::dfVertical, 2, frame,
                    {4, 0, 4, 0});
      for (int i = 0; i < 4; ++i) TextBar(x + 14 + i * 44, top + 7, 26, k.Text);
      top += 19;
    }
    Fill({x + S, top, x + w - S, y + h - B}, k.Face);
  }

  void PushButton(int x, int y, int w, int h, int state) {
    Element("bg-systembuttons.bmp", {x, y, x + w, y + h}, 5, state, {16, 11, 18, 11}, false);
    TextBar(x + w / 2 - 14, y + h / 2 - 3, 28, state == 3 ? FLook.Shadow : FLook.Text);
  }
  void Edit(int x, int y, int w, int state) {
    Element("sunkedge.bmp", {x, y, x + w, y + 21}, 4, state, {1, 1, 1, 1}, false);
    TextBar(x + 5, y + 8, w / 3, state == 3 ? FLook.TextDisabled : FLook.Text);
  }
  void Combo(int x, int y, int w, int state) {
    if (FLook.FlatCombo) {  // the box's own thin frame, the button stretched inside it
      Fill({x, y, x + w, y + 21}, FLook.Shadow);
      Fill({x + 1, y + 1, x + w - 1, y + 20}, FLook.Face);
      Fill({x + 2, y + 2, x + w - 2, y + 19}, kNightWell);
      TextBar(x + 5, y + 8, w / 3, FLook.Text);
      Stretched("combo.bmp", {x + w - 19, y + 2, x + w - 2, y + 19}, 4, state);
      return;
    }
    Edit(x, y, w, state);
    Stretched("combo.bmp", {x + w - 18, y, x + w, y + 21}, 4, state);
    Stretched("combo-arrows.bmp", {x + w - 17, y + 2, x + w - 1, y + 18}, 5, state);
  }
  void Check(int x, int y, int frame, bool radio) {
    Stretched(radio ? "bg-radio.bmp" : "bg-checkbox.bmp", {x, y, x + 13, y + 13}, 4, frame);
    TextBar(x + 19, y + 4, 60, frame > 2 ? FLook.TextDisabled : FLook.Text);
  }
  void GroupBox(int x, int y, int w, int h) {
    Element("bg-groupbox-border.bmp", {x, y, x + w, y + h}, 2, 1, {5, 16, 5, 5}, false);
    Fill({x + 8, y + 4, x + 78, y + 11}, FLook.Face);
    TextBar(x + 10, y + 4, 64, FLook.Text);
  }
  void Tabs(int x, int y, int w, int h) {
    const int tabW = 64;
    for (int i = 0; i < 4; ++i)
      if (i != 0)
        Element("bg-tabs.bmp", {x + 2 + i * tabW, y + 2, x + 2 + (i + 1) * tabW, y + 23}, 5, i == 2 ? 3 : 1,
                {20, 14, 19, 4}, false);
    DrawNineSliceBorder(FCanvas, {x, y + 22, x + w, y + h}, Pic("bg-tabborders.bmp"), false, 1, 1, {4, 5, 4, 4});
    Element("bg-tabs.bmp", {x, y, x + tabW + 4, y + 24}, 5, 2, {20, 14, 19, 4}, false);
    for (int i = 0; i < 4; ++i) TextBar(x + 16 + i * tabW, y + 11, 34, FLook.Text);
  }
  void Progress(int x, int y, int w, int percent) {
    if (FLook.ChunkProgress) {  // the groove whole, chunks from its left margin on
      Element("bg-progress.bmp", {x, y, x + w, y + 15}, 1, 1, {3, 4, 3, 4}, true);
      const TPixelBitmap& chunk = Pic("bg-progress-chunk.bmp");
      const int filled = w * percent / 100;
      for (int cx = 0; cx + chunk.Width() <= filled; cx += chunk.Width())
        DrawSkinImage(FCanvas, {x + 3 + cx, y + 3, x + 3 + cx + chunk.Width(), y + 3 + chunk.Height()}, chunk,
                      TDrawFlags::dfTransparent, 1, 1, {});
      return;
    }
    Element("bg-progress.bmp", {x, y, x + w, y + 15}, 2, 1, {9, 6, 8, 6}, true);
    Element("bg-progress.bmp", {x, y, x + w * percent / 100, y + 15}, 2, 2, {9, 6, 8, 6}, true);
  }
  void ScrollBar(int x, int y, int length, bool vertical, int thumbAt, int thumbLength, bool dragged) {
    const Rect bar = vertical ? Rect{x, y, x + 16, y + length} : Rect{x, y, x + length, y + 16};
    Fill(bar, FLook.ScrollColour);
    if (vertical) {
      Element("vscroll_back.bmp", {x, y + 16, x + 16, y + length - 16}, 4, 1, {8, 6, 6, 6}, false, true);
      Stretched("arrows.bmp", {x, y, x + 16, y + 16}, 23, 9);
      Stretched("arrows.bmp", {x, y + length - 16, x + 16, y + length}, 23, 14);
      Element("vscroll_bar.bmp", {x, y + 16 + thumbAt, x + 16, y + 16 + thumbAt + thumbLength}, FLook.ThumbFrames,
              dragged ? 2 : 1, {2, 5, 2, 6}, false);
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
      TextBar(x + 30, top + 7, 60 + 8 * (i % 2), FLook.Text);
      top += 20;
    }
  }

  TPixelBitmap Take() { return std::move(FCanvas); }

 private:
  const std::vector<TSkinPicture>& FPictures;
  TMockLook FLook;
  TPixelBitmap FCanvas;
};

}  // namespace

TPixelBitmap RenderMockups(const std::vector<TSkinPicture>& pictures, TSkinName skin) {
  const TMockLook look = skin == TSkinName::snMidnight ? MidnightMock() : KoraventMock();
  TMockup m(pictures, look);
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
  const int mdiStep = look.MdiWidth + 2, mdiHot = 3 * mdiStep + 1, mdiTop = 400 + (20 - look.MdiHeight) / 2;
  m.Fill({650, 400, 656 + 2 * mdiHot, 420}, look.Face);
  for (int i = 0; i < 3; ++i)
    for (int s = 1; s <= 4; s += 3) {
      const int bx = 654 + i * mdiStep + (s == 4 ? mdiHot : 0);
      m.Stretched("button-mdi.bmp", {bx, mdiTop, bx + look.MdiWidth, mdiTop + look.MdiHeight}, 12, i * 4 + s);
    }
  return m.Take();
}

}  // namespace kv::skingen
