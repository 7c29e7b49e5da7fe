// The skinned window frame without a device: button visibility and layout, the caption's
// place, pieces and caption strips on tiny pictures of plain colours (each drawn pixel
// tells its frame), and the window region checked against the frame's own pixels.
#include <gtest/gtest.h>

#include <initializer_list>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinWindowFrame.h"
#include "support/TestPictures.h"

namespace kv {
namespace {

using testing::ColourStrip;
using testing::CountIn;

using enum TCaptionFlags;
using enum TStateFlags;

constexpr std::uint32_t kCanvas = 0x00123456, kMagenta = 0x00FF00FF, kRed = 0x00C00000, kGreen = 0x0000C000;
constexpr std::uint32_t kBlue = 0x000000C0, kOlive = 0x00C0C000, kGrey = 0x00808080, kWhite = 0x00FFFFFF;

// Active, restored, all three boxes: 200 x 100, 4-pixel sides, a 30-row caption.
FrameWindow Window(void (*change)(FrameWindow&) = nullptr) {
  FrameWindow w;
  w.CaptionFlags = cfSysMenu | cfMaxBox | cfMinBox;
  w.Borders = {4, 30, 4, 4};
  w.Width = 200;
  w.Height = 100;
  if (change) change(w);
  return w;
}
FrameWindow Flags(TCaptionFlags flags) {
  FrameWindow w = Window();
  w.CaptionFlags = flags;
  return w;
}
const FrameWindow kNormal = Window(), kMax = Window([](FrameWindow&w) { w.Maximized = true; }),
                  kInactive = Window([](FrameWindow&w) { w.Active = false; }),
                  kPlain = Window([](FrameWindow&w) { w.FrameType = TFrameType::ftPlain; }),
                  kMdi = Window([](FrameWindow&w) {
                    w.ActiveMdiChildMaximized = true;
                    w.MenuBarHeight = 20;
                  });

// Three frames of 20 x 15 unless changed.
std::unique_ptr<TDataSkinSysButton> Button(int action, int align, int x, int y, int vis = 200, int vis1 = 0) {
  auto b = std::make_unique<TDataSkinSysButton>();
  b->Action = action;
  b->Align = align;
  b->XCoord = x;
  b->YCoord = y;
  b->Visibility = vis;
  b->Visibility1 = vis1;
  b->Image = ColourStrip({kRed, kGreen, kBlue}, 20, 15);
  b->FrameCount = 3;
  return b;
}

TEST(WindowFrameKinds, CaptionButtonsAndFramePieces) {
  using enum TElementKind;
  EXPECT_EQ(FrameIndex(ekCaptionButton, csHot | csInactive), 3);
  EXPECT_EQ(FrameIndex(ekCaptionButton, csPressed | csHot | csInactive), 2);
  EXPECT_EQ(FrameIndex(ekCaptionButton, csInactive), 4);
  EXPECT_EQ(FrameIndex(ekMdiButton, csHot), 4) << "in the menu bar, frame 4 is hot";
  EXPECT_EQ(FrameIndex(ekMdiButton, csInactive), 1);
  EXPECT_EQ(FrameIndex(ekFramePiece, csInactive), 2);
  EXPECT_EQ(StripFrameIndex(ekCaptionButton, csInactive, 3), 1) << "no inactive frame: the normal one";
  EXPECT_EQ(StripFrameIndex(ekCaptionButton, csHot, 3), 3);
  EXPECT_EQ(StripFrameIndex(ekFramePiece, csInactive, 0), 1);
  EXPECT_EQ(StripFrameIndex(ekFramePiece, csInactive, 2), 2);
}

TEST(CaptionButtonVisibility, BothColumnsOfTheTableAndTheActionRules) {
  const struct {
    int Vis, Vis1, Action;  // action 4 has no rule of its own, 0 is close
    FrameWindow Window;
    bool Visible;
  } cases[] = {
      {0, 0, 4, kNormal, true},
      {0, 0, 4, kPlain, false},
      {0, 0, 0, Flags(cfMaxBox), false},
      {0, 0, 4, Flags(cfNone), true},
      {1, 0, 4, kNormal, false},
      {1, 0, 4, kMax, true},
      {2, 0, 4, kMax, false},
      {3, 0, 4, kInactive, false},
      {4, 0, 4, kInactive, true},
      {4, 0, 4, kNormal, false},
      {5, 0, 4, kNormal, false},
      {6, 0, 4, kNormal, true},
      {6, 0, 4, Flags(cfMaxBox), false},
      {7, 0, 4, Flags(cfSysMenu), true},
      {7, 0, 4, kNormal, false},
      {8, 0, 4, Flags(cfMinBox), false},
      {8, 0, 4, kNormal, true},
      {9, 0, 4, Flags(cfMaxBox), true},
      {10, 0, 4, kNormal, false},
      {11, 0, 4, kNormal, false},
      {100, 0, 4, kNormal, false},
      {100, 0, 4, kMdi, true},
      {2000, 0, 4, kPlain, true},
      {2001, 0, 4, kNormal, false},
      {-1, 0, 4, kNormal, false},
      // The second column: no system menu needed, 0 always.
      {200, 0, 0, Flags(cfNone), true},
      {200, 0, 4, kPlain, true},
      {200, 1, 4, kMax, true},
      {200, 2, 4, kMax, false},
      {200, 3, 4, kInactive, false},
      {200, 4, 4, kNormal, false},
      {200, 5, 4, kNormal, false},
      {200, 6, 4, Flags(cfMaxBox), true},
      {200, 7, 4, kNormal, false},
      {200, 8, 4, Flags(cfMinBox), true},
      {200, 9, 4, Flags(cfNone), true},
      {200, 11, 4, kNormal, false},
      {3, 100, 4, kNormal, true},
      {3, 100, 4, kInactive, false},
      {100, 100, 4, kMdi, true},
      {3, 4, 4, kNormal, false},
      // Maximise needs a max box, minimise a min box, whatever the columns say.
      {200, 0, 1, Flags(cfSysMenu | cfMinBox), false},
      {7, 0, 1, Flags(cfSysMenu), false},
      {200, 0, 1, Flags(cfMaxBox), true},
      {200, 0, 2, Flags(cfSysMenu | cfMaxBox), false},
      {200, 0, 2, Flags(cfMinBox), true},
  };
  FrameWindow noMenuBar = kMdi;
  noMenuBar.MenuBarHeight = 0;
  EXPECT_FALSE(IsButtonVisible(*Button(4, 0, 0, 0, 100, 100), noMenuBar)) << "no menu bar to sit in";
  for (const auto& c : cases)
    EXPECT_EQ(IsButtonVisible(*Button(c.Action, 0, 0, 0, c.Vis, c.Vis1), c.Window), c.Visible)
        << c.Vis << "/" << c.Vis1 << " action " << c.Action;
}

TEST(CaptionButtonVisibility, OutsideTheTableNeverAndTheAlwaysRangeAlways) {
  for (int v = -3; v <= 2105; ++v) {
    if ((v >= 0 && v <= 11) || v == 100) continue;
    const bool always = v >= 200 && v <= 2000;
    for (const FrameWindow& w : {kNormal, kMax, kInactive, kPlain, kMdi, Flags(cfNone)}) {
      ASSERT_EQ(IsButtonVisible(*Button(4, 0, 0, 0, v, 0), w), always) << "Visibility " << v;
      ASSERT_EQ(IsButtonVisible(*Button(4, 0, 0, 0, 200, v), w), always) << "Visibility1 " << v;
    }
  }
}

using TButtons = std::vector<std::unique_ptr<TDataSkinSysButton>>;

FrameSkin SkinOf(const TButtons& buttons, const TDataSkinObject* bar = nullptr) {
  FrameSkin skin;
  skin.Buttons = buttons;
  skin.MenuBar = bar;
  return skin;
}

TEST(CaptionButtonLayout, EachAlignPlacesTheButton) {
  TButtons b;
  for (auto [align, x] : {std::pair{0, 8}, {1, 30}, {1, 56}, {2, 3}, {8, 3}, {3, 5}, {9, 5}, {7, 33}})
    b.push_back(Button(4, align, x, 7));
  const ButtonLayout layout = LayoutButtons(SkinOf(b), kNormal, {50, 8, 120, 22}, ButtonLayout{});
  const int lefts[] = {8, 170, 144, 27, 27, 125, 125, 0};
  for (std::size_t i = 0; i < b.size(); ++i) {
    EXPECT_TRUE(layout.Buttons[i].Visible) << i;
    const int top = b[i]->Align == 7 ? 0 : 7;  // an Align of no meaning: (0, 0)
    EXPECT_EQ(layout.Buttons[i].Bounds, (Rect{lefts[i], top, lefts[i] + 20, top + 15})) << i;
  }
  EXPECT_EQ(layout.RightmostLeft, 170) << "the largest left of the right-aligned buttons";
}

TEST(CaptionButtonLayout, MenuBarButtonsSitInTheBarFromEitherSide) {
  TButtons b;
  b.push_back(Button(7, 100, 57, 0, 100, 100));
  b[0]->Image = ColourStrip({kRed, kGreen, kBlue, kOlive}, 15, 10);
  b[0]->FrameCount = 4;
  TDataSkinObject bar;
  bar.LeftWidth = 4;
  FrameWindow w = kMdi;
  const ButtonLayout ltr = LayoutButtons(SkinOf(b, &bar), w, {}, ButtonLayout{});
  EXPECT_EQ(ltr.Buttons[0].Bounds, (Rect{200 - 4 - 57 - 4, 35, 150, 45})) << "centred in the 20-row bar";
  EXPECT_EQ(ltr.RightmostLeft, 0);
  EXPECT_EQ(LayoutButtons(SkinOf(b), w, {}, ButtonLayout{}).Buttons[0].Bounds.Left, 139) << "no MenuBar record";
  w.RightToLeft = true;
  EXPECT_EQ(LayoutButtons(SkinOf(b, &bar), w, {}, ButtonLayout{}).Buttons[0].Bounds, (Rect{65, 35, 80, 45}));
  w.MenuBarHeight = 7;  // (7 - 10) div 2 is -1: rounded toward zero
  EXPECT_EQ(LayoutButtons(SkinOf(b, &bar), w, {}, ButtonLayout{}).Buttons[0].Bounds.Top, 29);
  // A bar wrapped onto two rows: they stay centred in the first.
  w.MenuBarHeight = 40;
  w.MenuRowHeight = 20;
  EXPECT_EQ(LayoutButtons(SkinOf(b, &bar), w, {}, ButtonLayout{}).Buttons[0].Bounds.Top, 35);
}

// What the bar's first row keeps free for them: from the bar's end to the farthest one.
TEST(CaptionButtonLayout, MenuBarButtonsReserveTheFirstRowsEnd) {
  TButtons b;
  b.push_back(Button(7, 100, 57, 0, 100, 100));
  b.push_back(Button(8, 100, 37, 0, 100, 100));
  b.push_back(Button(0, 1, 90, 0));  // on the caption: no part of the bar
  for (auto& button : b) {
    button->Image = ColourStrip({kRed, kGreen, kBlue, kOlive}, 15, 10);
    button->FrameCount = 4;
  }
  TDataSkinObject bar;
  bar.LeftWidth = 4;
  const struct {
    const char* Name;
    bool RightToLeft, MdiMaximized;
    int Reserve;
  } cases[] = {
      {"left to right: to the farthest left edge", false, true, 57 + 4},
      {"right to left: to the farthest right edge", true, true, 57 + 4 + 15},
      {"no maximised child: nothing shows", false, false, 0},
  };
  for (const auto& c : cases) {
    FrameWindow w = kMdi;
    w.RightToLeft = c.RightToLeft;
    w.ActiveMdiChildMaximized = c.MdiMaximized;
    EXPECT_EQ(MenuBarButtonsReserve(SkinOf(b, &bar), w), c.Reserve) << c.Name;
  }
}

TEST(CaptionButtonLayout, ButtonsNotLaidOutKeepTheirRectangles) {
  TButtons b;
  b.push_back(Button(4, 1, 30, 8, 1));  // maximised only
  b.push_back(Button(4, 1, 56, 8));
  b[1]->Image = TPixelBitmap();
  b.push_back(Button(4, 0, 2, 3));
  b[2]->FrameCount = 0;  // one frame: the whole picture
  b.push_back(Button(4, 2, std::numeric_limits<int>::max(), std::numeric_limits<int>::min()));
  ButtonLayout previous;
  previous.Buttons = {{{1, 2, 3, 4}, true}, {{5, 6, 7, 8}, true}};
  previous.RightmostLeft = 150;
  const ButtonLayout layout = LayoutButtons(SkinOf(b), kNormal, {}, previous);
  EXPECT_FALSE(layout.Buttons[0].Visible);
  EXPECT_EQ(layout.Buttons[0].Bounds, (Rect{1, 2, 3, 4}));
  EXPECT_TRUE(layout.Buttons[1].Visible) << "visible, with nothing to place";
  EXPECT_EQ(layout.Buttons[1].Bounds, (Rect{5, 6, 7, 8}));
  EXPECT_EQ(layout.Buttons[2].Bounds, (Rect{2, 3, 62, 18}));
  EXPECT_EQ(layout.Buttons[3].Bounds.Width(), 20) << "hostile coordinates stay finite";
  EXPECT_LT(layout.Buttons[3].Bounds.Left, 0);
  EXPECT_EQ(layout.RightmostLeft, 0) << "each layout starts at 0";
  EXPECT_EQ(LayoutButtons(SkinOf(b), kMax, {}, layout).RightmostLeft, 170);
}

// The stored skin's title (shift 26, vertical shift 1, right clip 85), caps 3 and 5.
TDataSkinTitle Title(int alignment) {
  TDataSkinTitle t;
  t.LeftWidth = 26;
  t.TopHeight = 1;
  t.RightWidth = 85;
  t.TextAlignment = alignment;
  t.TextBackLeft = 3;
  t.TextBackRight = 5;
  return t;
}
const Rect kStrip{4, 0, 196, 30};  // between the sides of a 200-wide window

TEST(CaptionPlacement, EachAlignmentAndTheRightClip) {
  const struct {
    int Alignment;
    bool RightToLeft;
    int Left, Right;
  } cases[] = {{0, false, 30, 98},  {1, false, 66, 111},  // centred: (192 - 68) div 2 in, clipped at 196 - 85
               {2, false, 43, 111}, {7, false, 4, 72},   {0, true, 43, 111}, {1, true, 43, 111}};
  for (const auto& c : cases) {
    FrameWindow w = kNormal;
    w.RightToLeft = c.RightToLeft;
    const CaptionPlacement p = PlaceCaption(kStrip, {60, 14}, Title(c.Alignment), w, 0);
    EXPECT_EQ(p.Text, (Rect{c.Left, 8, c.Right, 22})) << c.Alignment << c.RightToLeft;
    EXPECT_EQ(p.Back, (Rect{c.Left, 0, c.Right, 30})) << c.Alignment << c.RightToLeft;
    EXPECT_EQ(p.Inner, (Rect{c.Left + 3, 8, c.Right - 5, 22})) << c.Alignment << c.RightToLeft;
  }
  // A strip lower than the text: (10 - 13) div 2 and -3 div 2 are -1 each, not -2.
  TDataSkinTitle low = Title(0);
  low.TopHeight = -3;
  EXPECT_EQ(PlaceCaption({4, 0, 196, 10}, {60, 13}, low, kNormal, 0).Text.Top, -2);
}

TEST(CaptionPlacement, PopupsReachForTheButtonsInsteadOfTheClip) {
  FrameWindow popup = kNormal;
  popup.Popup = true;
  EXPECT_EQ(PlaceCaption(kStrip, {300, 14}, Title(0), kNormal, 170).Text.Right, 111);
  EXPECT_EQ(PlaceCaption(kStrip, {300, 14}, Title(0), popup, 170).Text.Right, 30 + 308) << "never moved in";
  EXPECT_EQ(PlaceCaption(kStrip, {20, 14}, Title(0), popup, 170).Inner, (Rect{33, 8, 160, 22}));
  EXPECT_EQ(PlaceCaption(kStrip, {20, 14}, Title(0), popup, 0).Text.Right, 58) << "no right-aligned buttons";
}

TDataSkinBorder Border(TPixelBitmap image, int frames) {
  TDataSkinBorder b;
  b.Image = std::move(image);
  b.FrameCount = frames;
  b.Tile = 1;  // stretched
  b.Trans = 1;
  return b;
}

TEST(BorderPiece, FramesSideBySideForSidesStackedForTopAndBottom) {
  const TDataSkinBorder side = Border(ColourStrip({kRed, kGreen}, 3, 8), 2);
  const TDataSkinBorder top = Border(ColourStrip({kBlue, kOlive}, 9, 4, true), 2);
  EXPECT_EQ(CountIn(RenderBorderPiece(TFrameEdge::feLeft, 3, 20, side, true), {0, 0, 3, 20}, kRed), 60);
  EXPECT_EQ(CountIn(RenderBorderPiece(TFrameEdge::feRight, 3, 20, side, false), {0, 0, 3, 20}, kGreen), 60);
  EXPECT_EQ(CountIn(RenderBorderPiece(TFrameEdge::feBottom, 30, 4, top, true), {0, 0, 30, 4}, kBlue), 120);
  EXPECT_EQ(CountIn(RenderBorderPiece(TFrameEdge::feTop, 30, 4, top, false), {0, 0, 30, 4}, kOlive), 120);
  const TDataSkinBorder one = Border(ColourStrip({kRed}, 3, 8), 1);
  EXPECT_EQ(CountIn(RenderBorderPiece(TFrameEdge::feLeft, 3, 8, one, false), {0, 0, 3, 8}, kRed), 24);
  EXPECT_TRUE(RenderBorderPiece(TFrameEdge::feLeft, -1, 5, side, true).Empty());
}

TEST(BorderPiece, TheStretchSwitchStretchesTheCentreOtherwiseItIsTiled) {
  TDataSkinBorder top = Border(TPixelBitmap(4, 1, kMagenta), 1);  // magenta caps stay in
  top.Image.SetPixel(1, 0, kRed);
  top.Image.SetPixel(2, 0, kBlue);
  top.LeftWidth = top.RightWidth = 1;
  for (int tile : {1, 0}) {
    top.Tile = tile;
    const TPixelBitmap piece = RenderBorderPiece(TFrameEdge::feTop, 10, 1, top, true);
    EXPECT_EQ(piece.Pixel(9, 0), kMagenta);
    for (int x = 1; x < 9; ++x)
      ASSERT_EQ(piece.Pixel(x, 0), (tile == 1 ? x < 5 : x % 2 == 1) ? kRed : kBlue) << tile << " x " << x;
  }
}

// A 40 x 10 caption, 3-pixel sides: the top piece grey (white inactive) with a magenta
// corner; the title picture 6 x 2 a frame: green cap, red middle with a magenta pixel,
// blue cap; olive inactive.
class CaptionStrip : public ::testing::Test {
 protected:
  CaptionStrip() {
    FTop = Border(ColourStrip({kGrey, kWhite}, 8, 10, true), 2);
    FTop.Image.SetPixel(0, 0, kMagenta);
    FTitle.Image = ColourStrip({kRed, kOlive}, 6, 2, true);
    FTitle.Image.FillRect({0, 0, 1, 2}, kGreen);
    FTitle.Image.FillRect({5, 0, 6, 2}, kBlue);
    FTitle.Image.SetPixel(3, 0, kMagenta);
    FTitle.TextBackLeft = FTitle.TextBackRight = 1;
    FTitle.FrameCount = 7;  // two frames whatever the record says
    FWindow.Borders = {3, 10, 3, 3};
    FWindow.Width = 40;
    FSkin.Top = &FTop;
    FSkin.Title = &FTitle;
    FPlacement.Back = {10, 0, 30, 10};
  }
  // 2 x 2 frames drawn into 4 x 4 places, the first frame's corner magenta.
  void AddButton(std::initializer_list<std::uint32_t> frames, int action = 4, int visibility = 200) {
    FButtons.push_back(Button(action, 0, 0, 0, visibility));
    FButtons.back()->Image = ColourStrip(frames, 2, 2);
    FButtons.back()->Image.SetPixel(0, 0, kMagenta);
    FButtons.back()->FrameCount = int(frames.size());
    const int left = int(FLayout.Buttons.size()) * 8 + 4;
    FLayout.Buttons.push_back({{left, 2, left + 4, 6}, true});
  }
  TDataSkinBorder FTop;
  TDataSkinTitle FTitle;
  FrameWindow FWindow;
  FrameSkin FSkin;
  CaptionPlacement FPlacement;
  TButtons FButtons;
  ButtonLayout FLayout;
  TPixelBitmap FCaption{40, 10, kCanvas};
};

TEST_F(CaptionStrip, TopPieceBetweenTheSidesThenTheTitlePictureKeyed) {
  DrawCaptionBackground(FCaption, FSkin, FWindow, FPlacement);
  EXPECT_EQ(CountIn(FCaption, {0, 0, 3, 10}, kCanvas) + CountIn(FCaption, {37, 0, 40, 10}, kCanvas), 60);
  EXPECT_EQ(FCaption.Pixel(3, 0), kMagenta) << "the piece is copied as it is";
  EXPECT_EQ(CountIn(FCaption, {10, 0, 11, 10}, kGreen) + CountIn(FCaption, {29, 0, 30, 10}, kBlue), 20);
  EXPECT_EQ(CountIn(FCaption, {30, 0, 37, 10}, kGrey), 70);
  const Rect middle{11, 0, 29, 10};  // the middle repeated, each copy stretched to 10 rows
  EXPECT_EQ(CountIn(FCaption, middle, kGrey) + CountIn(FCaption, middle, kRed), 180) << "no magenta";
  EXPECT_EQ(FCaption.Pixel(13, 4), kGrey) << "the top piece shows through";
  EXPECT_EQ(FCaption.Pixel(13, 5), kRed);

  FWindow.Active = false;
  DrawCaptionBackground(FCaption, FSkin, FWindow, FPlacement);
  EXPECT_EQ(CountIn(FCaption, {10, 0, 30, 10}, kOlive) + CountIn(FCaption, {30, 0, 37, 10}, kWhite), 270);
}

TEST_F(CaptionStrip, ButtonsAtRestShowFrameOneOrTheInactiveFrame) {
  AddButton({kRed, kGreen, kBlue, kOlive});
  AddButton({kRed, kGreen, kBlue});  // no inactive frame
  DrawCaptionButtons(FCaption, SkinOf(FButtons), FWindow, FLayout, nullptr);
  EXPECT_EQ(CountIn(FCaption, {4, 2, 8, 6}, kRed) + CountIn(FCaption, {12, 2, 16, 6}, kRed), 24);
  EXPECT_EQ(CountIn(FCaption, FCaption.Bounds(), kCanvas), 400 - 24) << "magenta left out, nothing outside";
  FWindow.Active = false;
  FCaption.Fill(kCanvas);
  DrawCaptionButtons(FCaption, SkinOf(FButtons), FWindow, FLayout, nullptr);
  EXPECT_EQ(CountIn(FCaption, {4, 2, 8, 6}, kOlive), 16);
  EXPECT_EQ(CountIn(FCaption, {12, 2, 16, 6}, kRed), 12);
}

TEST_F(CaptionStrip, IconButtonsShowTheIconAndSomeButtonsAreNotDrawn) {
  AddButton({kRed, kGreen, kBlue, kOlive}, 3);
  AddButton({kRed, kGreen, kBlue, kOlive}, 11);
  AddButton({kRed}, 4, 100);  // the menu bar draws it
  AddButton({kRed}, 3);       // an icon button without a picture of its own
  FButtons.back()->Image = TPixelBitmap();
  AddButton({kRed});
  FLayout.Buttons.back().Visible = false;
  TPixelBitmap icon(2, 2, kWhite);
  icon.SetPixel(1, 1, kMagenta);
  FWindow.Active = false;
  DrawCaptionButtons(FCaption, SkinOf(FButtons), FWindow, FLayout, &icon);
  EXPECT_EQ(CountIn(FCaption, {4, 2, 8, 6}, kWhite) + CountIn(FCaption, {12, 2, 16, 6}, kWhite), 24);
  EXPECT_EQ(CountIn(FCaption, FCaption.Bounds(), kCanvas), 400 - 24);
}

TEST(CaptionButtonStates, PressedHotInactiveAndTheMenuBarsHot) {
  auto button = Button(4, 0, 0, 0);
  button->Image = ColourStrip({kRed, kGreen, kBlue, kOlive}, 2, 2);
  button->FrameCount = 4;
  auto mdi = Button(4, 0, 0, 0, 100);
  mdi->Image = button->Image;
  mdi->FrameCount = 4;
  const struct {
    const TDataSkinSysButton* Button;
    TStateFlags State;
    std::uint32_t Colour;
  } cases[] = {{button.get(), csPressed, kGreen},
               {button.get(), csHot, kBlue},
               {button.get(), csInactive, kOlive},
               {mdi.get(), csHot, kOlive},
               {mdi.get(), csInactive, kRed}};
  for (const auto& c : cases) {
    TPixelBitmap canvas(4, 4, kCanvas);
    DrawCaptionButton(canvas, {0, 0, 4, 4}, *c.Button, c.State, nullptr);
    EXPECT_EQ(CountIn(canvas, {0, 0, 4, 4}, c.Colour), 16) << c.Button->Visibility << " " << unsigned(c.State);
  }
}

bool InRegion(const std::vector<TRegionBatch>& batches, int x, int y) {
  for (const TRegionBatch& b : batches)
    for (const Rect& r : b.FRects)
      if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) return true;
  return false;
}

// Sides 3 wide, caption 6 rows, bottom 3, on a 30 x 20 window; magenta rounds the outer
// corners of both frames of the side pieces, notches the caption's top row and cuts the
// bottom piece's first column. Keyed: magenta and up to 1 above it in each component.
class FrameRegion : public ::testing::Test {
 protected:
  FrameRegion() {
    FLeft = Border(ColourStrip({kRed, kGreen}, 3, 12), 2);
    FLeft.TopHeight = FLeft.BottomHeight = 4;
    FRight = FLeft;
    for (int f = 0; f < 2; ++f)
      for (auto [x, y] : {std::pair{0, 0}, {1, 0}, {0, 1}, {0, 11}}) {
        FLeft.Image.SetPixel(f * 3 + x, y, kMagenta);
        FRight.Image.SetPixel(f * 3 + 2 - x, y, kMagenta);
      }
    FTop = Border(ColourStrip({kBlue, kOlive}, 10, 6, true), 2);
    FTop.Image.SetPixel(4, 0, kMagenta);
    FTop.Image.SetPixel(4, 6, kMagenta);
    FTop.LeftWidth = FTop.RightWidth = 3;
    FBottom = Border(ColourStrip({kGrey, kWhite}, 10, 3, true), 2);
    FBottom.Image.FillRect({0, 0, 1, 6}, kMagenta);
    FBottom.LeftWidth = 1;
    FLeft.Image.SetPixel(2, 5, 0x00FF01FF);  // green 1: keyed too; source row 5 lands on rows 7 .. 9
    FLeft.Image.SetPixel(2, 6, 0x00FF02FF);  // green 2: not
    FLeft.Image.SetPixel(1, 5, 0x00FE00FF);  // red 254: not
    FSkin.Left = &FLeft;
    FSkin.Right = &FRight;
    FSkin.Top = &FTop;
    FSkin.Bottom = &FBottom;
    FWindow.Borders = {3, 6, 3, 3};
    FWindow.Width = 30;
    FWindow.Height = 20;
  }
  // The region must hold exactly the pixels of the painted window that are not keyed,
  // each batch's rectangles apart (as a region made from one batch needs).
  void ExpectRegionIsTheOpaquePixels(const TPixelBitmap* caption = nullptr) {
    const std::vector<TRegionBatch> batches = FrameRegionRects(FWindow, FSkin, caption);
    const bool a = FWindow.Active;
    TPixelBitmap all(30, 20, kWhite);
    const auto put = [&](const TPixelBitmap& piece, int x, int y) { CopyPixels(all, x, y, piece, piece.Bounds()); };
    put(RenderBorderPiece(TFrameEdge::feLeft, 3, 20, FLeft, a), 0, 0);
    put(RenderBorderPiece(TFrameEdge::feRight, 3, 20, FRight, a), 27, 0);
    put(RenderBorderPiece(TFrameEdge::feBottom, 24, 3, FBottom, a), 3, 17);
    if (caption) {
      CopyPixels(all, 3, 0, *caption, {3, 0, 27, 6});
    } else {
      put(RenderBorderPiece(TFrameEdge::feTop, 24, 6, FTop, a), 3, 0);
    }
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 30; ++x)
        ASSERT_EQ(InRegion(batches, x, y), (all.Pixel(x, y) & 0xFFFEFF) != kMagenta) << x << "," << y;
    for (const TRegionBatch& b : batches)
      for (std::size_t i = 0; i < b.FRects.size(); ++i)
        for (std::size_t j = i + 1; j < b.FRects.size(); ++j) {
          const Rect &r = b.FRects[i], &s = b.FRects[j];
          const bool apart = s.Right <= r.Left || r.Right <= s.Left || s.Bottom <= r.Top || r.Bottom <= s.Top;
          ASSERT_TRUE(apart) << i << "," << j;
        }
  }
  TDataSkinBorder FLeft, FRight, FTop, FBottom;
  FrameSkin FSkin;
  FrameWindow FWindow;
};

TEST_F(FrameRegion, WithoutTransTheWholeWindow) {
  for (TDataSkinBorder* b : {&FLeft, &FRight, &FTop, &FBottom}) b->Trans = 0;
  for (const FrameSkin& skin : {FSkin, FrameSkin{}}) {
    const std::vector<TRegionBatch> batches = FrameRegionRects(FWindow, skin, nullptr);
    ASSERT_EQ(batches.size(), 1u);
    ASSERT_EQ(batches[0].FRects.size(), 1u);
    EXPECT_EQ(batches[0].FRects[0], (Rect{0, 0, 30, 20}));
    EXPECT_EQ(batches[0].FBounds, (Rect{0, 0, 30, 20}));
  }
}

TEST_F(FrameRegion, MagentaCornersAreCutAndTheRestCovered) {
  ExpectRegionIsTheOpaquePixels();
  const std::vector<TRegionBatch> batches = FrameRegionRects(FWindow, FSkin, nullptr);
  EXPECT_FALSE(InRegion(batches, 0, 0) || InRegion(batches, 29, 0) || InRegion(batches, 0, 19) ||
               InRegion(batches, 3, 19) || InRegion(batches, 12, 0) || InRegion(batches, 2, 8));
  EXPECT_TRUE(InRegion(batches, 2, 11) && InRegion(batches, 1, 8)) << "beyond the tolerance";
  FWindow.Active = false;
  ExpectRegionIsTheOpaquePixels();
}

TEST_F(FrameRegion, ThePaintedCaptionCutsTheTopUnlessStale) {
  TPixelBitmap caption(30, 6, kGrey);
  caption.SetPixel(20, 0, kMagenta);
  ExpectRegionIsTheOpaquePixels(&caption);
  EXPECT_FALSE(InRegion(FrameRegionRects(FWindow, FSkin, &caption), 20, 0));
  const TPixelBitmap stale(29, 6, kGrey);
  EXPECT_FALSE(InRegion(FrameRegionRects(FWindow, FSkin, &stale), 12, 0)) << "the top piece's notch";
}

TEST_F(FrameRegion, EdgesWithoutTransOrTooThinAreWholeRectangles) {
  FBottom.Trans = 0;
  FTop.Trans = 2;  // only 1 keys
  std::vector<TRegionBatch> batches = FrameRegionRects(FWindow, FSkin, nullptr);
  EXPECT_TRUE(InRegion(batches, 3, 19) && InRegion(batches, 12, 0));
  EXPECT_FALSE(InRegion(batches, 0, 0)) << "the side pieces are still cut";
  FBottom.Trans = 1;
  FWindow.Borders.Bottom = 1;
  EXPECT_TRUE(InRegion(FrameRegionRects(FWindow, FSkin, nullptr), 3, 19)) << "a one-row bottom";
  FWindow.Height = 1;
  EXPECT_TRUE(InRegion(FrameRegionRects(FWindow, FSkin, nullptr), 0, 0)) << "one-row sides";
  // Captionless: the client alone (the form skin gives such a window no borders, so
  // that is the whole window).
  FWindow.FrameType = TFrameType::ftCaptionless;
  FWindow.Borders = {3, 6, 3, 3};
  FWindow.Height = 20;
  batches = FrameRegionRects(FWindow, FSkin, nullptr);
  ASSERT_EQ(batches.size(), 1u);
  EXPECT_EQ(batches[0].FRects[0], (Rect{3, 6, 27, 17}));
  FWindow.Width = 0;
  EXPECT_TRUE(FrameRegionRects(FWindow, FSkin, nullptr).empty());
}

TEST(RegionRebuild, OnlyForANewSizeUnlessMdiChildOrRefreshing) {
  using enum TRegionFlags;
  EXPECT_TRUE(RegionRebuildNeeded({200, 100}, {0, 0}, rfNone));
  EXPECT_TRUE(RegionRebuildNeeded({200, 100}, {200, 99}, rfNone));
  EXPECT_FALSE(RegionRebuildNeeded({200, 100}, {200, 100}, rfNone));
  EXPECT_TRUE(RegionRebuildNeeded({200, 100}, {200, 100}, rfMdiChild));
  EXPECT_TRUE(RegionRebuildNeeded({200, 100}, {200, 100}, rfRefreshing)) << "a new skin";
  EXPECT_FALSE(RegionRebuildNeeded({0, 100}, {200, 100}, rfRefreshing | rfMdiChild)) << "an empty window";
}

TEST(FrameSkinFromModel, TheRecordsAndTheMdiButtons) {
  TSkinDefinition model;
  model.LoadDefinitions("[Personality]\nmenuBar=bar.bmp\n[Button0]\nAction=0\nAlign=1\nButtonImage=close.bmp\n",
                        [](std::string_view) { return std::string(); });
  const FrameSkin skin = FrameSkinOf(model);
  EXPECT_EQ(skin.Edge(TFrameEdge::feLeft), model.BorderLeft.get());
  EXPECT_EQ(skin.Edge(TFrameEdge::feRight), model.BorderRight.get());
  EXPECT_EQ(skin.Edge(TFrameEdge::feTop), model.BorderTop.get());
  EXPECT_EQ(skin.Edge(TFrameEdge::feBottom), model.BorderBottom.get());
  EXPECT_EQ(skin.Title, model.Title.get());
  EXPECT_EQ(skin.MenuBar, model.MenuBar.get());
  ASSERT_EQ(skin.Buttons.size(), 4u) << "one caption button and the three MDI buttons";
  EXPECT_TRUE(IsButtonVisible(*skin.Buttons[0], kNormal));
  for (std::size_t i = 1; i < 4; ++i)
    EXPECT_TRUE(!IsButtonVisible(*skin.Buttons[i], kNormal) && IsButtonVisible(*skin.Buttons[i], kMdi)) << i;
}

}  // namespace
}  // namespace kv
