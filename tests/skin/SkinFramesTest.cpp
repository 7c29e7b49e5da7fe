// Which frame each control state draws, and DrawElement on small strips of plain
// colours, where every drawn pixel tells which frame and which slice it came from.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>

#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinFrames.h"
#include "support/TestPictures.h"

namespace kv {
namespace {

using testing::ColourStrip;
using testing::CountIn;

using enum TStateFlags;
using enum TElementKind;

constexpr std::uint32_t kCanvas = 0x00123456;
constexpr std::uint32_t kMagenta = 0x00FF00FF;
constexpr std::uint32_t kRed = 0x00C00000, kGreen = 0x0000C000, kBlue = 0x000000C0, kOlive = 0x00C0C000;
constexpr std::uint32_t kGrey = 0x00808080, kWhite = 0x00FFFFFF;

// Every combination of the eight state flags.
constexpr unsigned kAllStates = 1u << 8;

const TElementKind kAllKinds[] = {ekPushButton,   ekCheckBox,      ekRadioButton,   ekComboButton,   ekSunkEdge,
                                  ekComboArrow,   ekTab,           ekUpDownFirst,   ekUpDownSecond,  ekProgressBar,
                                  ekProgressFill, ekStatusLowered, ekStatusRaised,  ekStatusFlat,    ekHeader,
                                  ekScrollTrack,  ekScrollThumb,   ekTrackbarThumb, ekScrollLeft,    ekScrollRight,
                                  ekScrollUp,     ekScrollDown,    ekMenuItem,      ekMenuSeparator, ekTabPage};

// The frames a kind's strip holds where the record decides: the least the model gives
// check and radio strips, and the scroll thumbs' default.
int StripFrames(TElementKind kind) {
  if (kind == ekCheckBox || kind == ekRadioButton) return 4;
  if (kind == ekScrollThumb) return 3;
  return FixedFrameCount(kind);
}

struct TFrameCase {
  TElementKind Kind;
  TStateFlags State;
  int Frame;
  const char* What;
};

void ExpectFrames(std::initializer_list<TFrameCase> cases) {
  for (const TFrameCase& c : cases) EXPECT_EQ(FrameIndex(c.Kind, c.State), c.Frame) << c.What;
}

TEST(FrameConvention, SingleStatesDrawTheirFrames) {
  ExpectFrames({
      {ekPushButton, csNone, 1, "button normal"},
      {ekPushButton, csPressed, 2, "button pressed"},
      {ekPushButton, csDisabled, 3, "button disabled"},
      {ekPushButton, csHot, 4, "button hot"},
      {ekPushButton, csFocused, 4, "button focused"},
      {ekComboButton, csPressed, 2, "combo button pressed"},
      {ekComboButton, csFocused, 4, "combo button focused"},
      {ekSunkEdge, csDisabled, 3, "sunk edge disabled"},
      {ekSunkEdge, csHot, 4, "sunk edge hot"},
      {ekComboArrow, csNone, 1, "arrow glyph normal"},
      {ekComboArrow, csFocused, 4, "arrow glyph focused"},
      {ekCheckBox, csNone, 1, "check unchecked"},
      {ekCheckBox, csChecked, 2, "check checked"},
      {ekCheckBox, csDisabled, 3, "check disabled unchecked"},
      {ekCheckBox, csIndeterminate, 4, "check indeterminate"},
      {ekRadioButton, csNone, 1, "radio unchecked"},
      {ekRadioButton, csChecked, 2, "radio checked"},
      {ekRadioButton, csDisabled, 3, "radio disabled unchecked"},
      {ekTab, csNone, 1, "tab"},
      {ekTab, csSelected, 2, "selected tab"},
      {ekUpDownFirst, csNone, 1, "up normal"},
      {ekUpDownFirst, csPressed, 2, "up pressed"},
      {ekUpDownFirst, csDisabled, 3, "up disabled"},
      {ekUpDownFirst, csHot, 4, "up hot"},
      {ekUpDownSecond, csNone, 5, "down normal"},
      {ekUpDownSecond, csPressed, 6, "down pressed"},
      {ekUpDownSecond, csDisabled, 7, "down disabled"},
      {ekUpDownSecond, csHot, 8, "down hot"},
      {ekProgressBar, csNone, 1, "progress empty bar"},
      {ekProgressFill, csNone, 2, "progress filled part"},
      {ekStatusLowered, csNone, 1, "status lowered"},
      {ekStatusRaised, csNone, 2, "status raised"},
      {ekStatusFlat, csNone, 3, "status no bevel"},
      {ekHeader, csNone, 1, "header"},
      {ekScrollTrack, csNone, 1, "scroll track"},
      {ekScrollThumb, csNone, 1, "thumb at rest"},
      {ekScrollThumb, csDragging, 2, "thumb dragged"},
      {ekScrollThumb, csPressed, 2, "thumb held down"},
      {ekTrackbarThumb, csNone, 2, "trackbar thumb"},
      {ekScrollLeft, csNone, 1, "left arrow"},
      {ekScrollRight, csPressed, 6, "right arrow pressed"},
      {ekScrollUp, csPressed | csHot, 10, "up arrow pressed"},
      {ekScrollDown, csDisabled, 13, "down arrow: no disabled look is drawn"},
      {ekMenuItem, csNone, 1, "menu item"},
      {ekMenuItem, csSelected | csDisabled, 4, "selected menu item"},
      {ekMenuSeparator, csSelected, 2, "separator"},
      {ekSizeGrip, csHot, 5, "size grip"},
  });
}

TEST(FrameConvention, CombinedStatesFollowThePrecedence) {
  const TStateFlags everything = csHot | csPressed | csFocused | csDisabled;
  ExpectFrames({
      {ekPushButton, everything, 3, "disabled wins over everything"},
      {ekPushButton, csPressed | csHot | csFocused, 2, "pressed over hot and focus"},
      {ekPushButton, csHot | csFocused, 4, "hot and focused"},
      {ekPushButton, csChecked | csSelected | csDragging, 1, "flags a button has no frame for"},
      {ekComboButton, csDisabled | csFocused, 4, "a disabled combo box holding the focus shows it"},
      {ekComboButton, csDisabled, 3, "disabled combo button"},
      {ekSunkEdge, csPressed | csFocused, 2, "pressed sunk edge"},
      {ekComboArrow, everything, 2, "pressed arrow glyph, disabled or not"},
      {ekPushButton, csLatched | csDisabled | csHot, 2, "a latched speed button shows down, disabled or not"},
      {ekUpDownFirst, csFocused, 1, "focus does not show on up-down arrows"},
      {ekUpDownFirst, csFocused | csHot, 4, "hot up-down arrow"},
      {ekUpDownFirst, csPressed | csHot, 2, "pressed up-down arrow"},
      {ekUpDownSecond, everything, 7, "disabled second arrow"},
      {ekUpDownSecond, csFocused, 5, "focused second arrow"},
      {ekCheckBox, csDisabled | csChecked, 4, "disabled checked"},
      {ekCheckBox, csChecked | csIndeterminate, 4, "indeterminate over checked"},
      {ekCheckBox, csDisabled | csIndeterminate, 4, "disabled indeterminate"},
      {ekCheckBox, csChecked | csHot | csPressed | csFocused, 2, "hot, pressed, focus leave a check box alone"},
      {ekCheckBox, csDisabled | csHot, 3, "disabled unchecked under the mouse"},
      {ekRadioButton, csDisabled | csChecked, 4, "disabled checked radio"},
      {ekRadioButton, csIndeterminate, 1, "a radio button has no third state"},
      {ekRadioButton, csChecked | csIndeterminate, 2, "checked radio, indeterminate ignored"},
      {ekRadioButton, csDisabled | csIndeterminate, 3, "disabled radio, indeterminate ignored"},
      {ekTab, csSelected | csDisabled | csHot, 2, "selection is all a tab shows"},
      {ekTab, csHot | csPressed, 1, "unselected tab under the mouse"},
  });
}

TEST(FrameConvention, EveryStateStaysInsideTheStrip) {
  for (TElementKind kind : kAllKinds) {
    const int frames = StripFrames(kind);
    ASSERT_GT(frames, 0) << int(kind);
    for (unsigned s = 0; s < kAllStates; ++s) {
      const int frame = FrameIndex(kind, TStateFlags(s));
      ASSERT_GE(frame, 1) << int(kind) << " state " << s;
      ASSERT_LE(frame, frames) << int(kind) << " state " << s;
      if (kind == ekPushButton || kind == ekComboArrow) {
        ASSERT_LE(frame, 4) << "frame 5 is not used";
      }
    }
  }
  EXPECT_EQ(FixedFrameCount(ekCheckBox), 0) << "the record's count";
  EXPECT_EQ(FixedFrameCount(ekRadioButton), 0);
  EXPECT_EQ(FixedFrameCount(ekScrollThumb), 0);
}

TEST(FrameConvention, OneFrameKindsIgnoreTheState) {
  for (TElementKind kind : {ekProgressBar, ekProgressFill, ekStatusLowered, ekStatusRaised, ekStatusFlat, ekHeader,
                            ekScrollTrack, ekTrackbarThumb, ekTabPage}) {
    const int frame = FrameIndex(kind, csNone);
    for (unsigned s = 0; s < kAllStates; ++s) ASSERT_EQ(FrameIndex(kind, TStateFlags(s)), frame) << int(kind);
  }
  EXPECT_NE(FrameIndex(ekProgressBar, csNone), FrameIndex(ekProgressFill, csNone));
  EXPECT_NE(FrameIndex(ekStatusLowered, csNone), FrameIndex(ekStatusRaised, csNone));
  EXPECT_NE(FrameIndex(ekStatusRaised, csNone), FrameIndex(ekStatusFlat, csNone));
}

TEST(FrameConvention, ArrowsShareOneStateModel) {
  for (unsigned s = 0; s < kAllStates; ++s) {
    const auto state = TStateFlags(s);
    ASSERT_EQ(FrameIndex(ekUpDownSecond, state), FrameIndex(ekUpDownFirst, state) + 4) << s;
    // Up-down arrows are the buttons' model with focus left out.
    ASSERT_EQ(FrameIndex(ekUpDownFirst, state), FrameIndex(ekPushButton, TStateFlags(s & ~unsigned(csFocused)))) << s;
    // Combo parts: the buttons' model, except that disabled counts only when nothing else does.
    const bool shown = (s & unsigned(csHot | csPressed | csFocused)) != 0;
    const auto comboState = TStateFlags(shown ? s & ~unsigned(csDisabled) : s);
    for (TElementKind kind : {ekComboButton, ekSunkEdge, ekComboArrow})
      ASSERT_EQ(FrameIndex(kind, state), FrameIndex(ekPushButton, comboState)) << int(kind) << " state " << s;
  }
}

// The counts the model puts into its records are the ones the kinds are numbered for.
TEST(FrameConvention, TheModelsRecordsHoldTheFramesTheKindsUse) {
  std::string text;
  for (const char* section :
       {"Tabs", "ComboButton", "SunkEdge", "ExtraImages", "Headerbar", "HorzScroll", "VertScroll", "HorzScrollThumb",
        "VertScrollThumb", "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "UpDown.Horz", "UpDown.Vert", "StatusBarEdges"})
    text += std::string("[") + section + "]\nImage=x.bmp\n";
  text += "[Progress]\nBitmap=x.bmp\n";
  TSkinDefinition model;
  model.LoadDefinitions(text, [](std::string_view) { return std::string(); });

  const struct {
    TElementKind Kind;
    const TDataSkinObject* Record;
  } pairs[] = {{ekPushButton, model.Buttons.get()},
               {ekComboButton, model.ComboButton.get()},
               {ekSunkEdge, model.SunkEdge.get()},
               {ekComboArrow, model.ExtraImages.get()},
               {ekTab, model.Tabs.get()},
               {ekUpDownFirst, model.UpDownVert.get()},
               {ekUpDownSecond, model.UpDownHorz.get()},
               {ekProgressBar, model.Progress.get()},
               {ekProgressFill, model.Progress.get()},
               {ekStatusLowered, model.StatusBarEdges.get()},
               {ekStatusFlat, model.StatusBarEdges.get()},
               {ekHeader, model.Headerbar.get()},
               {ekScrollTrack, model.HorzScroll.get()},
               {ekScrollTrack, model.VertScroll.get()},
               {ekScrollThumb, model.HorzScrollThumb.get()},
               {ekScrollThumb, model.VertScrollThumb.get()},
               {ekTrackbarThumb, model.TrackbarThumbHorz.get()},
               {ekTrackbarThumb, model.TrackbarThumbVert.get()}};
  for (const auto& pair : pairs) {
    ASSERT_NE(pair.Record, nullptr) << int(pair.Kind);
    EXPECT_EQ(ElementImage(*pair.Record).FFrameCount, StripFrames(pair.Kind)) << pair.Record->Name;
  }
}

int Area(const Rect& r) { return r.Width() * r.Height(); }

TDataSkinObject Record(TPixelBitmap image, int frameCount) {
  TDataSkinObject record;
  record.Image = std::move(image);
  record.FrameCount = frameCount;
  return record;
}

TEST(ElementDrawing, TheChosenFrameFillsTheTargetAndNothingElse) {
  const Rect target{3, 2, 11, 9};
  const TDataSkinObject across = Record(ColourStrip({kRed, kGreen, kBlue}, 4, 4), 3);
  TPixelBitmap canvas(16, 12, kCanvas);
  DrawElement(canvas, target, ElementImage(across), 2);
  EXPECT_EQ(CountIn(canvas, target, kGreen), Area(target));
  EXPECT_EQ(CountIn(canvas, canvas.Bounds(), kCanvas), Area(canvas.Bounds()) - Area(target));

  const TDataSkinObject down = Record(ColourStrip({kRed, kGreen, kBlue}, 4, 4, true), 3);
  TElementImage stacked = ElementImage(down);
  stacked.FVertical = true;
  TPixelBitmap other(16, 12, kCanvas);
  DrawElement(other, target, stacked, 3);
  EXPECT_EQ(CountIn(other, target, kBlue), Area(target));
}

TEST(ElementDrawing, MagentaIsKeyedOutOnlyWhenTransIsOne) {
  TDataSkinObject record = Record(ColourStrip({kRed, kGreen}, 4, 4), 2);
  record.Image.FillRect({4, 0, 6, 4}, kMagenta);  // left half of frame 2
  const Rect target{0, 0, 8, 4};
  for (int trans : {0, 1, 2}) {
    record.Trans = trans;
    TPixelBitmap canvas(8, 4, kCanvas);
    DrawElement(canvas, target, ElementImage(record), 2);
    EXPECT_EQ(CountIn(canvas, target, kGreen), 16) << trans;
    EXPECT_EQ(CountIn(canvas, target, trans == 1 ? kCanvas : kMagenta), 16) << trans;
  }
}

TEST(ElementDrawing, TileRepeatsTheCentreWhereStretchWidensIt) {
  // One frame: an edge column each side of a two-column centre.
  TDataSkinObject record = Record(TPixelBitmap(4, 2, kGrey), 1);
  record.Image.FillRect({1, 0, 2, 2}, kRed);
  record.Image.FillRect({2, 0, 3, 2}, kBlue);
  record.LeftWidth = record.RightWidth = 1;
  const Rect target{0, 0, 10, 2};  // centre 8 wide
  for (int tile : {0, 1}) {
    record.Tile = tile;
    TPixelBitmap canvas(10, 2, kCanvas);
    DrawElement(canvas, target, ElementImage(record), 1);
    EXPECT_EQ(canvas.Pixel(0, 0), kGrey);
    EXPECT_EQ(canvas.Pixel(9, 1), kGrey);
    for (int x = 1; x < 9; ++x) {
      const bool red = tile ? (x - 1) % 2 == 0 : x < 5;
      ASSERT_EQ(canvas.Pixel(x, 1), red ? kRed : kBlue) << "tile " << tile << " x " << x;
    }
  }
}

// A 8 x 8 frame whose margins each have their own colour: left 1, top 2, right 3,
// bottom 1 (the rows are laid over the columns at the corners).
TDataSkinObject MarginRecord() {
  TDataSkinObject record = Record(TPixelBitmap(8, 8, kWhite), 1);
  record.Image.FillRect({0, 0, 1, 8}, kRed);
  record.Image.FillRect({5, 0, 8, 8}, kBlue);
  record.Image.FillRect({0, 0, 8, 2}, kGreen);
  record.Image.FillRect({0, 7, 8, 8}, kOlive);
  record.LeftWidth = 1;
  record.TopHeight = 2;
  record.RightWidth = 3;
  record.BottomHeight = 1;
  return record;
}

TEST(ElementDrawing, TheRecordsMarginsKeepTheirSize) {
  const TDataSkinObject record = MarginRecord();
  const Rect target{5, 5, 35, 25};
  TPixelBitmap canvas(40, 30, kCanvas);
  DrawElement(canvas, target, ElementImage(record), 1);
  const int midY = 15, midX = 20;
  EXPECT_EQ(canvas.Pixel(5, midY), kRed);
  EXPECT_EQ(canvas.Pixel(6, midY), kWhite);
  EXPECT_EQ(canvas.Pixel(31, midY), kWhite);
  EXPECT_EQ(canvas.Pixel(32, midY), kBlue);
  EXPECT_EQ(canvas.Pixel(34, midY), kBlue);
  EXPECT_EQ(canvas.Pixel(midX, 6), kGreen);
  EXPECT_EQ(canvas.Pixel(midX, 7), kWhite);
  EXPECT_EQ(canvas.Pixel(midX, 23), kWhite);
  EXPECT_EQ(canvas.Pixel(midX, 24), kOlive);
  EXPECT_EQ(canvas.Pixel(4, midY), kCanvas);
  EXPECT_EQ(canvas.Pixel(35, midY), kCanvas);
}

TEST(ElementDrawing, StretchedDrawsTheWholeFrameScaled) {
  TDataSkinObject record = MarginRecord();
  record.Tile = 1;
  const Rect target{0, 0, 32, 16};  // four times as wide, twice as high
  TPixelBitmap canvas(32, 16, kCanvas);
  DrawElementStretched(canvas, target, ElementImage(record), 1);
  EXPECT_EQ(CountIn(canvas, {0, 4, 4, 14}, kRed), 40) << "the one-column left margin, four times as wide";
  EXPECT_EQ(CountIn(canvas, {0, 0, 32, 4}, kGreen), 128);
  EXPECT_EQ(CountIn(canvas, {20, 4, 32, 14}, kBlue), 120);
  EXPECT_EQ(CountIn(canvas, {0, 14, 32, 16}, kOlive), 64);
  EXPECT_EQ(CountIn(canvas, {4, 4, 20, 14}, kWhite), 160) << "the centre stretched, not tiled";
}

TEST(ElementDrawing, NothingIsDrawnWithoutTargetPictureOrFrame) {
  const TDataSkinObject record = Record(ColourStrip({kRed, kGreen, kBlue}, 4, 4), 3);
  const TElementImage image = ElementImage(record);
  const TDataSkinObject empty = Record(TPixelBitmap(), 3);
  TDataSkinObject thin = Record(ColourStrip({kRed, kGreen}, 1, 4), 3);  // fewer columns than frames
  TPixelBitmap canvas(16, 12, kCanvas);
  const Rect target{2, 2, 10, 10};
  for (const Rect& nowhere : {Rect{2, 2, 2, 10}, Rect{2, 2, 10, 2}, Rect{10, 2, 2, 10}, Rect{2, 10, 10, 2}}) {
    DrawElement(canvas, nowhere, image, 1);
    DrawElementStretched(canvas, nowhere, image, 1);
  }
  DrawElement(canvas, target, ElementImage(empty), 1);
  DrawElement(canvas, target, TElementImage{}, 1);
  DrawElement(canvas, target, image, 0);
  DrawElement(canvas, target, image, 4);  // beyond the count: no black block
  DrawElementStretched(canvas, target, image, 4);
  DrawElement(canvas, target, ElementImage(thin), 1);
  EXPECT_EQ(CountIn(canvas, canvas.Bounds(), kCanvas), Area(canvas.Bounds()));
  EXPECT_FALSE(CanDraw(target, image, 4));
  EXPECT_TRUE(CanDraw(target, image, 3));
}

TEST(ElementDrawing, GlyphAndSecondStripsUseTheirOwnPicturesAndCounts) {
  TDataSkinButton buttons;
  buttons.Image = ColourStrip({kRed, kRed, kRed, kRed, kRed}, 4, 4);
  buttons.FrameCount = 5;
  buttons.LeftWidth = buttons.TopHeight = buttons.RightWidth = buttons.BottomHeight = 1;
  buttons.Tile = 1;
  buttons.CheckImage = ColourStrip({kGrey, kGreen, kGrey, kBlue}, 3, 3);
  buttons.CheckFrameCount = 4;
  buttons.RadioImage = ColourStrip({kGrey, kOlive, kBlue, kGreen, kGrey, kGrey}, 3, 3);
  buttons.RadioFrameCount = 6;
  buttons.CheckImage.SetPixel(1 * 3, 0, kMagenta);  // top-left of the checked frame
  buttons.Trans = 1;

  const TElementImage check = CheckBoxImage(buttons);
  EXPECT_EQ(check.FStrip, &buttons.CheckImage);
  EXPECT_EQ(check.FFrameCount, 4);
  EXPECT_TRUE(check.FTransparent);
  const TElementImage radio = RadioButtonImage(buttons);
  EXPECT_EQ(radio.FStrip, &buttons.RadioImage);
  EXPECT_EQ(radio.FFrameCount, 6);

  // The glyph is scaled whole: with the push button's margins its magenta corner would
  // stay one pixel instead of growing to a 3 x 3 block.
  TPixelBitmap canvas(9, 9, kCanvas);
  const Rect place{0, 0, 9, 9};
  DrawElement(canvas, place, check, FrameIndex(ekCheckBox, csChecked | csHot));
  EXPECT_EQ(canvas.Pixel(0, 0), kCanvas) << "keyed out, as Trans asks";
  EXPECT_EQ(CountIn(canvas, place, kGreen), 81 - 9) << "one source pixel makes a 3 x 3 block";
  DrawElement(canvas, place, check, FrameIndex(ekCheckBox, csDisabled | csChecked));
  EXPECT_EQ(CountIn(canvas, place, kBlue), 81);
  DrawElement(canvas, place, radio, FrameIndex(ekRadioButton, csDisabled | csChecked));
  EXPECT_EQ(CountIn(canvas, place, kGreen), 81);

  TDataSkinBorder upDown;
  upDown.Image = ColourStrip({kRed, kRed, kRed, kRed, kRed, kRed, kRed, kRed}, 2, 2);
  upDown.Image2 = ColourStrip({kGrey, kGrey, kGrey, kGrey, kGrey, kBlue, kGrey, kGrey}, 2, 2);
  upDown.FrameCount = FixedFrameCount(ekUpDownSecond);
  const TElementImage second = SecondElementImage(upDown);
  EXPECT_EQ(second.FStrip, &upDown.Image2);
  TPixelBitmap arrows(4, 4, kCanvas);
  DrawElement(arrows, arrows.Bounds(), second, FrameIndex(ekUpDownSecond, csPressed | csFocused));
  EXPECT_EQ(CountIn(arrows, arrows.Bounds(), kBlue), 16);
}

}  // namespace
}  // namespace kv
