// The skin at another DPI: lengths and pictures scaled together, the double-size twins
// taken where they fit, and the frame's borders following the pictures.
#include <gtest/gtest.h>

#include <map>

#include "skin/data/BmpCodec.h"
#include "skin/data/SkinScaling.h"
#include "skin/data/SkinWindowFrame.h"
#include "support/TestPictures.h"

namespace kv {
namespace {

constexpr std::uint32_t kBase = 0x00204060;
constexpr std::uint32_t kTwin = 0x00A0C0E0;

constexpr const char* kDefinition =
    "[Personality]\nLeft=left.bmp\nLeftFrame=2\nLeftTopHeight=10\nRight=left.bmp\nRightFrame=2\n"
    "Top=top.bmp\nTopFrame=2\nTopTopHeight=6\nTopBotHeight=7\nBottom=bottom.bmp\n"
    "TextShift=8\nTXTBackleft=3\nmenuBar=bar.bmp\nTileLeftMenu=5\n"
    "[ButtonClose]\nButtonImage=close.bmp\nframe=3\nAction=0\nAlign=1\nXcoord=24\nYcoord=5\n"
    "[MDICONTROLS]\nImage=mdi.bmp\n[ComboButton]\nImage=combo.bmp\nLeftWidth=3\n";

class TEntries {
 public:
  TEntries() {
    Add("left.bmp", TPixelBitmap(8, 40, kBase));
    Add("top.bmp", TPixelBitmap(60, 44, kBase));
    Add("bottom.bmp", TPixelBitmap(60, 4, kBase));
    Add("bar.bmp", TPixelBitmap(30, 38, kBase));
    Add("close.bmp", TPixelBitmap(48, 16, kBase));
    Add("mdi.bmp", TPixelBitmap(72, 6, kBase));
    Add("combo.bmp", TPixelBitmap(32, 10, kBase));
  }
  void Add(const std::string& name, const TPixelBitmap& picture) { FEntries[name] = WriteBmp24(picture); }
  TPictureSource Source() const {
    return [this](std::string_view name) {
      const auto it = FEntries.find(std::string(name));
      return it == FEntries.end() ? std::string() : it->second;
    };
  }
  TSkinDefinition Model() const {
    TSkinDefinition model;
    model.LoadDefinitions(kDefinition, Source());
    return model;
  }

 private:
  std::map<std::string, std::string> FEntries;
};

// A picture whose column x is a colour of its own, for telling which part was taken.
TPixelBitmap Columns(int width, int height) {
  TPixelBitmap b(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) b.SetPixel(x, y, 0x00100000u + std::uint32_t(x));
  return b;
}

TEST(SkinScaling, EveryLengthAndPictureScalesWithTheDpi) {
  struct {
    int Dpi;
    Margins Borders;
    int LeftTop, TopLeft, TopRight, Shift, BackLeft, BarLeft, BarHeight, X, Y, ButtonWidth, ButtonHeight, ComboLeft;
  } const cases[] = {
      {120, {5, 28, 5, 5}, 13, 8, 9, 10, 4, 6, 48, 30, 6, 60, 20, 4},
      {144, {6, 33, 6, 6}, 15, 9, 11, 12, 5, 8, 58, 36, 8, 72, 24, 5},
      {192, {8, 44, 8, 8}, 20, 12, 14, 16, 6, 10, 76, 48, 10, 96, 32, 6},
  };
  const TSkinDefinition base = TEntries().Model();
  ASSERT_EQ(FrameBordersOf(FrameSkinOf(base)).Top, 22);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Dpi);
    const auto scaled = ScaleDefinition(base, c.Dpi, {});
    ASSERT_TRUE(scaled);
    const Margins borders = FrameBordersOf(FrameSkinOf(*scaled));
    EXPECT_EQ(borders.Left, c.Borders.Left);
    EXPECT_EQ(borders.Top, c.Borders.Top);
    EXPECT_EQ(borders.Right, c.Borders.Right);
    EXPECT_EQ(borders.Bottom, c.Borders.Bottom);
    EXPECT_EQ(scaled->BorderLeft->TopHeight, c.LeftTop);
    EXPECT_EQ(scaled->BorderTop->LeftWidth, c.TopLeft);
    EXPECT_EQ(scaled->BorderTop->RightWidth, c.TopRight);
    EXPECT_EQ(scaled->Title->LeftWidth, c.Shift);
    EXPECT_EQ(scaled->Title->TextBackLeft, c.BackLeft);
    EXPECT_EQ(scaled->MenuBar->LeftWidth, c.BarLeft);
    EXPECT_EQ(scaled->MenuBar->Image.Height(), c.BarHeight) << "two stacked frames of 19";
    const TDataSkinSysButton& close = *scaled->SysButtons[0];
    EXPECT_EQ(close.XCoord, c.X);
    EXPECT_EQ(close.YCoord, c.Y);
    EXPECT_EQ(close.Image.Width(), c.ButtonWidth);
    EXPECT_EQ(close.Image.Height(), c.ButtonHeight);
    EXPECT_EQ(close.FrameCount, 3);
    EXPECT_EQ(scaled->ComboButton->LeftWidth, c.ComboLeft);
    EXPECT_EQ(scaled->ComboButton->Image2.Width(), scaled->ComboButton->Image.Width());
  }
}

TEST(SkinScaling, DoubleSizeTwinsAreTakenFrom175PercentWhenTheyFit) {
  struct {
    int Dpi, TwinWidth;
    std::uint32_t Expected;
  } const cases[] = {
      {192, 96, kTwin}, {168, 96, kTwin}, {216, 96, kTwin},
      {144, 96, kBase},  // below 175 %: the picture itself
      {192, 95, kBase},  // not twice the size: not a twin
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.Dpi << " " << c.TwinWidth);
    TEntries entries;
    entries.Add("close@2x.bmp", TPixelBitmap(c.TwinWidth, 32, kTwin));
    const auto scaled = ScaleDefinition(entries.Model(), c.Dpi, entries.Source());
    ASSERT_TRUE(scaled);
    const TPixelBitmap& picture = scaled->SysButtons[0]->Image;
    ASSERT_EQ(picture.Width(), 3 * ScaleLength(16, c.Dpi));
    EXPECT_EQ(testing::CountIn(picture, picture.Bounds(), c.Expected), picture.Width() * picture.Height());
  }
}

TEST(SkinScaling, PartsAndMirrorsAreCutFromTheTwinAsFromTheirEntry) {
  TEntries entries;
  entries.Add("mdi@2x.bmp", Columns(144, 12));
  entries.Add("combo@2x.bmp", Columns(64, 20));
  const auto scaled = ScaleDefinition(entries.Model(), 192, entries.Source());
  ASSERT_TRUE(scaled);
  // The MDI strip's twelve cells of 6 (12 in the twin): the second button has cells 4 to 7.
  const TPixelBitmap& restore = scaled->SysButtons[2]->Image;
  ASSERT_EQ(restore.Width(), 48);
  EXPECT_EQ(restore.Pixel(0, 0), 0x00100000u + 48);
  EXPECT_EQ(restore.Pixel(47, 11), 0x00100000u + 95);
  const TDataSkinBorder& combo = *scaled->ComboButton;
  ASSERT_EQ(combo.Image2.Width(), 64);
  EXPECT_EQ(combo.Image.Pixel(0, 0), 0x00100000u);
  EXPECT_EQ(combo.Image2.Pixel(0, 0), 0x00100000u + 63) << "the mirror of the twin";
}

TEST(SkinScaling, AScaleBeyondThePixelBudgetGivesNoCopy) {
  const TSkinDefinition base = TEntries().Model();
  EXPECT_TRUE(ScaleDefinition(base, 192, {}, 30000));
  EXPECT_FALSE(ScaleDefinition(base, 192, {}, 20000));
}

}  // namespace
}  // namespace kv
