#include <gtest/gtest.h>

#include <map>

#include "skin/data/BmpCodec.h"
#include "skin/data/SkinDefinition.h"

namespace kv {
namespace {

// A container stand-in: entries by lower-case name, each a BMP of the given size whose
// pixel (x, 0) encodes x, so copies and mirrors can be checked.
class TFakeContainer {
 public:
  void Add(const std::string& name, int width, int height) {
    TPixelBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) bitmap.SetPixel(x, y, static_cast<std::uint32_t>(x));
    FEntries[name] = WriteBmp24(bitmap);
  }
  TPictureSource Source() const {
    return [this](std::string_view name) {
      const auto it = FEntries.find(std::string(name));
      return it == FEntries.end() ? std::string() : it->second;
    };
  }

 private:
  std::map<std::string, std::string> FEntries;
};

TEST(ColourTriple, SeparatorsDecideWhichNumbersCount) {
  EXPECT_EQ(ParseColourTriple("238 233 213", 7), 0xD5E9EEu);
  EXPECT_EQ(ParseColourTriple("0 0 0", 7), 0u);
  EXPECT_EQ(ParseColourTriple("255", 7), 0u);
  EXPECT_EQ(ParseColourTriple("1,2,3", 7), 0x030201u);
  EXPECT_EQ(ParseColourTriple("  ", 7), 7u);
  EXPECT_EQ(ParseColourTriple("none", 7), 0u);
  EXPECT_EQ(ParseColourTriple("1 2", 7), 1u);
  EXPECT_EQ(ParseColourTriple("1 2 3 4", 7), 0x030201u);
  EXPECT_EQ(ParseColourTriple("300,2,3", 7), 0x03022Cu);  // low 8 bits of each part
  EXPECT_EQ(ParseColourTriple("99999999999,2,3", 7), 0x030200u);
}

TEST(SkinBitmap, ReferencesUseTheFileNamePartAndExactlyDotBmp) {
  TFakeContainer pictures;
  pictures.Add("bg-explore.bmp", 4, 2);
  TPixelBitmap bitmap;
  LoadSkinBitmap(bitmap, "skins\\bg-explore.bmp", pictures.Source());
  EXPECT_EQ(bitmap.Width(), 4);
  LoadSkinBitmap(bitmap, "bg-Explore.bmp", pictures.Source());
  EXPECT_EQ(bitmap.Width(), 4) << "names match without regard to case";
  LoadSkinBitmap(bitmap, "bg-explore.BMP", pictures.Source());
  EXPECT_TRUE(bitmap.Empty());
  LoadSkinBitmap(bitmap, "missing.bmp", pictures.Source());
  EXPECT_TRUE(bitmap.Empty());
  LoadSkinBitmap(bitmap, "skins\\", pictures.Source());
  EXPECT_TRUE(bitmap.Empty());
}

TEST(SkinDefinition, TextThatIsNoSkinLeavesOnlyTheAlwaysPresentRecords) {
  TSkinDefinition model;
  model.LoadDefinitions("this is not an ini text", TFakeContainer().Source());
  ASSERT_TRUE(model.Title && model.Buttons && model.BorderLeft && model.BorderRight && model.BorderTop &&
              model.BorderBottom);
  EXPECT_EQ(model.SysButtons.size(), 3u);
  EXPECT_FALSE(model.Tabs || model.Progress || model.MenuBar || model.Scrollbar || model.ComboButton);
  EXPECT_EQ(model.Colours.WindowTextColour, SystemColour(8));
  EXPECT_EQ(model.Colours.MenubarColour, SystemColour(15));
  EXPECT_EQ(model.Buttons->RadioFrameCount, 4);
  EXPECT_EQ(model.BorderTop->FrameCount, 1);
  EXPECT_EQ(model.BorderTop->Tile, 1);
  EXPECT_EQ(model.Title->FontHeight, 14);
  EXPECT_EQ(model.Title->ActiveTextColour, TDataSkinTitle::kNoColour);
}

TEST(SkinDefinition, CaptionButtonsComeInFileOrderThenTheThreeMdiButtons) {
  TFakeContainer pictures;
  pictures.Add("narrow.bmp", 60, 20);
  pictures.Add("wide.bmp", 140, 20);
  pictures.Add("button-mdi.bmp", 180, 10);
  TSkinDefinition model;
  model.LoadDefinitions(
      "[Button2]\nAction=1\nButtonImage=narrow.bmp\n[Buttons]\nBitmap=x.bmp\n[Button0]\nAction=0\n"
      "ButtonImage=wide.bmp\nXcoord=30\n[Button.Radio]\n[button1]\nAction=3\nButtonImage=wide.bmp\n"
      "[Button3]\nAction=-1\nButtonImage=narrow.bmp\n[BUTTON4]\nAction=2\nframe=2\nButtonImage=wide.bmp\n"
      "[MDICONTROLS]\nImage=button-mdi.bmp\n",
      pictures.Source());
  ASSERT_EQ(model.SysButtons.size(), 8u);
  const auto& b = model.SysButtons;
  EXPECT_EQ(b[0]->Name, "BUTTON2");
  EXPECT_EQ(b[0]->FrameCount, 3);  // 60 x 20: no wider than 3.8 to 1
  EXPECT_EQ(b[1]->Name, "BUTTON0");
  EXPECT_EQ(b[1]->FrameCount, 6);  // 140 x 20
  EXPECT_EQ(b[1]->XCoord, 30);
  EXPECT_EQ(b[1]->CombineOp, -1);
  EXPECT_EQ(b[2]->Name, "BUTTON1");
  EXPECT_TRUE(b[2]->Image.Empty()) << "an icon button without a frame count keeps no picture";
  EXPECT_EQ(b[3]->FrameCount, 6) << "a negative action always has six frames";
  EXPECT_EQ(b[4]->FrameCount, 2);
  for (int i = 0; i < 3; ++i) {
    const TDataSkinSysButton& mdi = *b[5 + i];
    EXPECT_EQ(mdi.Action, 7 + i);
    EXPECT_EQ(mdi.Align, 100);
    EXPECT_EQ(mdi.FrameCount, 4);
    EXPECT_EQ(mdi.XCoord, 19 * (3 - i));
    ASSERT_EQ(mdi.Image.Width(), 60);
    EXPECT_EQ(mdi.Image.Pixel(0, 0), static_cast<std::uint32_t>(60 * i)) << "cut from cells 4i to 4i + 3";
  }
}

TEST(SkinDefinition, ObjectsReadTheirKeysAndKeepTheModelsNames) {
  TFakeContainer pictures;
  pictures.Add("combo.bmp", 64, 21);
  pictures.Add("tb.bmp", 375, 23);
  pictures.Add("bg-progress.bmp", 132, 13);
  pictures.Add("bg-checkbox.bmp", 26, 13);
  TSkinDefinition model;
  model.LoadDefinitions(
      "[Colours]\nButtonFace=238 233 213\nButtonText=1,2,3\n[Colour0]\ncolor=0 0 0\n[Colour1]\ncolor=255 255 255\n"
      "[ToolBars]\nImage=tb.bmp\nTile=2\nLeftWidth=10\nStyle=4\nNormalColour=$10\n"
      "[ComboButton]\nImage=combo.bmp\nTrans=1\n[Progress]\nBitmap=bg-progress.bmp\nTile=2\n"
      "[Buttons]\nCheckButton=bg-checkbox.bmp\n[HorzScrollThumb]\nImage=tb.bmp\nFrameCount=7\n"
      "[Personality]\nActiveTextR=0\nActiveTextG=0\nActiveTextB=0\nInActiveTextR=100\nInActiveTextG=100\n"
      "Top=tb.bmp\nTopTopHeight=20\nTopBotHeight=21\nTopFrame=2\n",
      pictures.Source());
  EXPECT_EQ(model.Colours.ButtonFaceColour, 0xD5E9EEu);
  EXPECT_EQ(model.Colours.MenubarColour, 0xD5E9EEu) << "no Menubar key: the button face";
  EXPECT_EQ(model.ExtraColours, (std::vector<TSkinColour>{0x000000, 0xFFFFFF}));
  ASSERT_TRUE(model.Toolbars);
  EXPECT_EQ(model.Toolbars->Name, "Toolbars");
  EXPECT_EQ(model.Toolbars->Tile, 0) << "a Tile above 1 is read as 0";
  EXPECT_EQ(model.Toolbars->LeftWidth, 10);
  EXPECT_EQ(model.Toolbars->Style, 4);
  EXPECT_EQ(model.Toolbars->NormalColour, 16);
  EXPECT_EQ(model.Toolbars->MouseOverColour, -1);
  EXPECT_EQ(model.Toolbars->NormalColour2, 0x030201u) << "triples default to the button text colour";
  EXPECT_EQ(model.Toolbars->FrameCount, 5);
  ASSERT_TRUE(model.Progress);
  EXPECT_EQ(model.Progress->Tile, 2) << "the progress bar's Tile is not limited";
  EXPECT_EQ(model.Progress->FrameCount, 2);
  ASSERT_TRUE(model.ComboButton);
  ASSERT_EQ(model.ComboButton->Image2.Width(), 64);
  EXPECT_EQ(model.ComboButton->Image2.Pixel(0, 0), 63u) << "the second picture is the mirror image";
  EXPECT_EQ(model.ComboButton->FrameCount, 4);
  EXPECT_EQ(model.Buttons->CheckFrameCount, 4) << "26 / 13 is 2, but at least 4";
  EXPECT_EQ(model.HorzScrollThumb->FrameCount, 7);
  EXPECT_EQ(model.Title->ActiveTextColour, 0u);
  EXPECT_EQ(model.Title->InactiveTextColour, TDataSkinTitle::kNoColour) << "all three parts are needed";
  EXPECT_EQ(model.BorderTop->LeftWidth, 20);
  EXPECT_EQ(model.BorderTop->RightWidth, 21);
  EXPECT_EQ(model.BorderTop->TopHeight, 0);
  EXPECT_EQ(model.BorderTop->FrameCount, 2);
  EXPECT_EQ(model.BorderTop->Image.Width(), 375);
}

TEST(SkinDefinition, LoadingAgainReplacesTheWholeModel) {
  TFakeContainer pictures;
  pictures.Add("a.bmp", 8, 8);
  TSkinDefinition model;
  model.LoadDefinitions("[Tabs]\nImage=a.bmp\n[Colour0]\ncolor=1 2 3\n", pictures.Source());
  ASSERT_TRUE(model.Tabs);
  model.LoadDefinitions("[Scrollbar]\nImage=a.bmp\n", pictures.Source());
  EXPECT_FALSE(model.Tabs);
  EXPECT_TRUE(model.ExtraColours.empty());
  EXPECT_EQ(model.Scrollbar->FrameCount, 23);
}

}  // namespace
}  // namespace kv
