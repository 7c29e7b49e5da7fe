#include <gtest/gtest.h>

#include <map>
#include <new>

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
      "[ComboButton]\nImage=combo.bmp\nTrans=1\nStyle=1\n[Progress]\nBitmap=bg-progress.bmp\nTile=2\n"
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
  EXPECT_EQ(model.ComboButton->Style, 1) << "a skin file can ask for the flat combo look";
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

// Counts what the definition reader asks the container for.
class TCountingContainer : public TFakeContainer {
 public:
  TPictureSource Source() {
    return [this, inner = TFakeContainer::Source()](std::string_view name) {
      ++FAsked[std::string(name)];
      return inner(name);
    };
  }
  std::map<std::string, int> FAsked;
};

// What every model holds when a skin gives nothing.
void ExpectEmptyModel(const TSkinDefinition& model) {
  ASSERT_TRUE(model.Title && model.Buttons && model.BorderLeft && model.BorderRight && model.BorderTop &&
              model.BorderBottom);
  EXPECT_EQ(model.SysButtons.size(), 3u);
  EXPECT_FALSE(model.Tabs || model.ComboButton || model.Scrollbar);
  EXPECT_TRUE(model.Buttons->Image.Empty());
  EXPECT_EQ(model.Colours.ButtonFaceColour, SystemColour(15));
  EXPECT_TRUE(model.SkinName.empty());
}

TEST(SkinPictures, EachEntryIsAskedForAndDecodedOnceHoweverManyRecordsNameIt) {
  TCountingContainer pictures;
  pictures.Add("a.bmp", 24, 3);
  pictures.Add("b.bmp", 5, 2);
  TSkinDefinition model;
  ASSERT_TRUE(model.LoadDefinitions(
      "[Tabs]\nImage=a.bmp\nBorder=A.bmp\n[Scrollbar]\nImage=skins\\a.bmp\n[Button0]\nButtonImage=a.bmp\n"
      "[Button1]\nButtonImage=a.bmp\n[MDICONTROLS]\nImage=a.bmp\n[ComboButton]\nImage=b.bmp\n"
      "[Buttons]\nBitmap=missing.bmp\nCheckButton=missing.bmp\nRadioButton=b.BMP\n",
      pictures.Source()));
  EXPECT_EQ(pictures.FAsked, (std::map<std::string, int>{{"a.bmp", 1}, {"b.bmp", 1}, {"missing.bmp", 1}}));
  EXPECT_EQ(model.Tabs->Image.Width(), 24);
  EXPECT_EQ(model.Tabs->Image2.Width(), 24);
  EXPECT_EQ(model.Scrollbar->Image.Width(), 24);
  EXPECT_EQ(model.SysButtons[0]->Image.Width(), 24);
  EXPECT_EQ(model.SysButtons[1]->Image.Pixel(23, 2), 23u);
  EXPECT_EQ(model.SysButtons[2]->Image.Width(), 8) << "an MDI cell of the same picture";
  EXPECT_EQ(model.ComboButton->Image2.Pixel(0, 0), 4u);
  EXPECT_TRUE(model.Buttons->RadioImage.Empty());
}

// Each entry counts once when decoded, and every copy a record keeps counts again.
TEST(SkinPictures, PicturesBeyondTheBudgetLeaveTheEmptyModel) {
  TFakeContainer pictures;
  pictures.Add("a.bmp", 10, 10);
  pictures.Add("c.bmp", 8, 2);
  pictures.Add("m.bmp", 24, 2);
  struct TCase {
    const char* FDefinition;
    std::int64_t FPixels;
  };
  const TCase cases[] = {
      {"[Button0]\nButtonImage=a.bmp\n[Button1]\nButtonImage=a.bmp\n[Tabs]\nImage=a.bmp\n", 100 + 3 * 100},
      {"[ComboButton]\nImage=c.bmp\n", 16 + 16 + 16},  // decoded, copied, mirrored
      {"[MDICONTROLS]\nImage=m.bmp\n", 48 + 3 * 16},   // decoded, three cells of four
      {"[Tabs]\nImage=missing.bmp\nBorder=x.png\n", 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.FDefinition);
    const std::string definition =
        std::string("[TitlebarSkin]\nSkinName=Big\n[Colours]\nButtonFace=1 2 3\n") + c.FDefinition;
    TSkinDefinition model;
    EXPECT_TRUE(model.LoadDefinitions(definition, pictures.Source(), c.FPixels));
    EXPECT_EQ(model.SkinName, "Big");
    if (c.FPixels == 0) continue;
    EXPECT_FALSE(model.LoadDefinitions(definition, pictures.Source(), c.FPixels - 1));
    ExpectEmptyModel(model);
  }
}

TEST(SkinPictures, RunningOutOfMemoryLeavesTheEmptyModel) {
  TFakeContainer pictures;
  pictures.Add("a.bmp", 4, 4);
  const TPictureSource source = [inner = pictures.Source()](std::string_view name) -> std::string {
    if (name == "b.bmp") throw std::bad_alloc();
    return inner(name);
  };
  TSkinDefinition model;
  bool loaded = true;
  EXPECT_NO_THROW(loaded = model.LoadDefinitions("[TitlebarSkin]\nSkinName=X\n[Tabs]\nImage=a.bmp\n"
                                                 "[Scrollbar]\nImage=b.bmp\n",
                                                 source));
  EXPECT_FALSE(loaded);
  ExpectEmptyModel(model);
}

// The two headers of a BMP file and nothing after them.
std::string BmpHeader(std::int32_t width, std::int32_t height, std::uint16_t bpp, std::uint32_t compression) {
  std::string b = "BM";
  const auto u32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(char((v >> (8 * i)) & 0xFF));
  };
  u32(54), u32(0), u32(54), u32(40), u32(std::uint32_t(width)), u32(std::uint32_t(height));
  b.push_back(1), b.push_back(0), b.push_back(char(bpp)), b.push_back(0);
  u32(compression);
  for (int i = 0; i < 5; ++i) u32(0);
  return b;
}

TEST(SkinPictures, PixelsAreCountedFromTheHeaderBeforeDecoding) {
  EXPECT_EQ(BmpHeaderPixels(WriteBmp24(TPixelBitmap(7, 3))), 21);
  EXPECT_EQ(BmpHeaderPixels(BmpHeader(7, -3, 24, 0)), 21) << "top-down";
  EXPECT_EQ(BmpHeaderPixels(BmpHeader(8192, 8192, 8, 1)), 8192 * 8192);
  std::string core = "BM" + std::string(12, '\0') + std::string("\x0C\0\0\0\x05\x01\x03\0\x01\0\x18\0", 12);
  EXPECT_EQ(BmpHeaderPixels(core), 0x105 * 3) << "OS/2 core header: 16-bit sizes";
  EXPECT_EQ(BmpHeaderPixels(core.substr(0, 25)), 0);
  EXPECT_EQ(BmpHeaderPixels("XM" + core.substr(2)), 0);
  EXPECT_EQ(BmpHeaderPixels(BmpHeader(0, 5, 24, 0)), 0);
  EXPECT_EQ(BmpHeaderPixels(BmpHeader(40000, 1, 24, 0)), 0) << "a size no picture may have is never decoded";
  std::string shortInfo = BmpHeader(7, 3, 24, 0);
  shortInfo[14] = 20;
  EXPECT_EQ(BmpHeaderPixels(shortInfo), 0);

  // A header claiming more than is left ends the load, before anything is decoded.
  const std::map<std::string, std::string> entries = {{"big.bmp", BmpHeader(8192, 8192, 8, 0)}};
  const TPictureSource source = [&](std::string_view name) {
    const auto at = entries.find(std::string(name));
    return at == entries.end() ? std::string() : at->second;
  };
  TSkinDefinition model;
  EXPECT_FALSE(model.LoadDefinitions("[Tabs]\nImage=big.bmp\n", source, 8192 * 8192 - 1));
  EXPECT_TRUE(model.LoadDefinitions("[Tabs]\nImage=big.bmp\n", source, 8192 * 8192));
  EXPECT_TRUE(model.Tabs->Image.Empty()) << "claimed but not there: no picture";
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
