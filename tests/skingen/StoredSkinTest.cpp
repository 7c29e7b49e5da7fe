// The skin the program carries (src/app/res/koravent.skn): its model, read the way the
// program reads it, must be exactly the one the editor's frame and controls are laid
// out for; and the committed container must be what the generator makes today.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "StoredSkins.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinImage.h"

namespace kv {
namespace {

constexpr const char* kRegenerate =
    "the committed skin is out of date; regenerate it: skingen DIR && skintool pack DIR src/app/res/koravent.skn";

class StoredSkin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FSkin = TStoredSkin::Load(KV_STORED_SKIN).release();
    ASSERT_NE(FSkin, nullptr);
    FReader = &FSkin->Reader;
    FModel = &FSkin->Model;
  }
  static void TearDownTestSuite() {
    delete FSkin;
    FSkin = nullptr;
    FModel = nullptr;
    FReader = nullptr;
  }
  void SetUp() override {
    if (!FSkin) GTEST_SKIP() << "the container could not be read";
  }

  static std::string Entry(const std::string& name) { return FSkin->Entry(name); }

  static inline TStoredSkin* FSkin = nullptr;
  static inline const TSkinReader* FReader = nullptr;
  static inline const TSkinDefinition* FModel = nullptr;
};

struct TExpectedRecord {
  const char* Field;
  const TDataSkinObject* Record;
  int Width, Height, Frames;
  Margins Margin;
  int Trans, Tile;
};

TEST_F(StoredSkin, ContainerHoldsOneDefinitionAndFortyTwo24BitPictures) {
  ASSERT_EQ(FReader->EntryCount(), 43);
  int definitions = 0;
  for (const std::string& name : FReader->Names()) {
    SCOPED_TRACE(name);
    if (name.find(".ini") != std::string::npos) {
      ++definitions;
      continue;
    }
    ASSERT_TRUE(name.ends_with(".bmp"));
    const std::string bmp = Entry(name);
    ASSERT_GT(bmp.size(), 30u);
    EXPECT_EQ(static_cast<unsigned char>(bmp[28]), 24) << "bits per pixel";
    EXPECT_TRUE(ReadBmp(bmp));
  }
  EXPECT_EQ(definitions, 1);
}

TEST_F(StoredSkin, EveryElementHasItsPictureFramesMarginsTransAndTile) {
  const TSkinDefinition& m = *FModel;
  const TExpectedRecord expected[] = {
      {"Buttons", m.Buttons.get(), 250, 23, 5, {16, 11, 18, 11}, 0, 0},
      {"Tabs", m.Tabs.get(), 200, 19, 5, {20, 14, 19, 4}, 0, 0},
      {"Progress", m.Progress.get(), 132, 13, 2, {9, 6, 8, 6}, 0, 0},
      {"UpDownHorz", m.UpDownHorz.get(), 72, 21, 8, {7, 3, 1, 15}, 1, 0},
      {"UpDownVert", m.UpDownVert.get(), 128, 10, 8, {2, 2, 13, 7}, 0, 0},
      {"SunkEdge", m.SunkEdge.get(), 64, 19, 4, {1, 1, 1, 1}, 0, 0},
      {"ExtraImages", m.ExtraImages.get(), 80, 16, 5, {0, 0, 0, 0}, 1, 0},
      {"ComboButton", m.ComboButton.get(), 64, 21, 4, {3, 3, 3, 3}, 0, 0},
      {"GroupBoxEdge", m.GroupBoxEdge.get(), 50, 25, 2, {5, 16, 5, 5}, 0, 0},
      {"Toolbars", m.Toolbars.get(), 375, 23, 5, {10, 11, 10, 11}, 0, 0},
      {"StatusBarEdges", m.StatusBarEdges.get(), 96, 32, 3, {0, 5, 0, 0}, 0, 0},
      {"Headerbar", m.Headerbar.get(), 375, 23, 5, {0, 0, 1, 0}, 0, 0},
      {"MenuItem", m.MenuItem.get(), 620, 16, 5, {10, 9, 10, 6}, 1, 0},
      {"MenuBackground", m.MenuBackground.get(), 128, 38, 1, {5, 5, 5, 5}, 1, 0},
      {"MenuBar", m.MenuBar.get(), 70, 38, 2, {4, 0, 4, 0}, 0, 1},
      {"Scrollbar", m.Scrollbar.get(), 368, 16, 23, {2, 2, 2, 2}, 1, 1},
      {"HorzScroll", m.HorzScroll.get(), 96, 16, 4, {6, 8, 6, 6}, 0, 0},
      {"VertScroll", m.VertScroll.get(), 64, 18, 4, {8, 6, 6, 6}, 0, 1},
      {"HorzScrollThumb", m.HorzScrollThumb.get(), 126, 16, 3, {5, 2, 6, 2}, 0, 0},
      {"VertScrollThumb", m.VertScrollThumb.get(), 48, 24, 3, {2, 5, 2, 6}, 0, 0},
      {"TrackbarThumbHorz", m.TrackbarThumbHorz.get(), 55, 21, 5, {0, 0, 0, 0}, 1, 0},
      {"TrackbarThumbUp", m.TrackbarThumbUp.get(), 55, 21, 5, {0, 0, 0, 0}, 1, 0},
      {"TrackbarThumbDown", m.TrackbarThumbDown.get(), 55, 21, 5, {0, 0, 0, 0}, 1, 0},
      {"TrackbarThumbVert", m.TrackbarThumbVert.get(), 105, 11, 5, {0, 0, 0, 0}, 1, 0},
      {"TrackbarThumbLeft", m.TrackbarThumbLeft.get(), 105, 11, 5, {0, 0, 0, 0}, 1, 0},
      {"TrackbarThumbRight", m.TrackbarThumbRight.get(), 105, 11, 5, {0, 0, 0, 0}, 1, 0},
      {"BorderTop", m.BorderTop.get(), 312, 60, 2, {20, 0, 20, 0}, 1, 1},
      {"BorderBottom", m.BorderBottom.get(), 312, 8, 2, {3, 0, 6, 0}, 0, 1},
      {"BorderLeft", m.BorderLeft.get(), 8, 288, 2, {0, 30, 0, 5}, 1, 1},
      {"BorderRight", m.BorderRight.get(), 8, 288, 2, {0, 30, 0, 5}, 1, 1},
  };
  for (const TExpectedRecord& e : expected) {
    SCOPED_TRACE(e.Field);
    ASSERT_NE(e.Record, nullptr);
    EXPECT_EQ(e.Record->Image.Width(), e.Width);
    EXPECT_EQ(e.Record->Image.Height(), e.Height);
    EXPECT_EQ(e.Record->FrameCount, e.Frames);
    EXPECT_EQ(e.Record->LeftWidth, e.Margin.Left);
    EXPECT_EQ(e.Record->TopHeight, e.Margin.Top);
    EXPECT_EQ(e.Record->RightWidth, e.Margin.Right);
    EXPECT_EQ(e.Record->BottomHeight, e.Margin.Bottom);
    EXPECT_EQ(e.Record->Trans, e.Trans);
    EXPECT_EQ(e.Record->Tile, e.Tile);
  }
}

TEST_F(StoredSkin, SecondPicturesAreTheCheckRadioTabBorderAndMirroredComboOnly) {
  const TSkinDefinition& m = *FModel;
  for (const TPixelBitmap* strip : {&m.Buttons->CheckImage, &m.Buttons->RadioImage}) {
    EXPECT_EQ(strip->Width(), 52);
    EXPECT_EQ(strip->Height(), 13);
  }
  EXPECT_EQ(m.Buttons->CheckFrameCount, 4);
  EXPECT_EQ(m.Buttons->RadioFrameCount, 4);
  EXPECT_EQ(m.Tabs->Image2.Width(), 29);
  EXPECT_EQ(m.Tabs->Image2.Height(), 28);
  // The chunk and the up-down arrow strips travel in the container but stay switched off.
  EXPECT_TRUE(m.Progress->Image2.Empty());
  EXPECT_TRUE(m.UpDownHorz->Image2.Empty());
  EXPECT_TRUE(m.UpDownVert->Image2.Empty());
  EXPECT_FALSE(Entry("bg-progress-chunk.bmp").empty());
  EXPECT_FALSE(Entry("spinner-h-glyphs.bmp").empty());
  EXPECT_FALSE(Entry("spinner-v-glyphs.bmp").empty());
  TPixelBitmap mirrored = m.ComboButton->Image;
  MirrorHorizontal(mirrored);
  EXPECT_TRUE(std::ranges::equal(m.ComboButton->Image2.Pixels(), mirrored.Pixels()));
  for (const TDataSkinBorder* edge : {m.BorderLeft.get(), m.BorderRight.get(), m.BorderTop.get(), m.BorderBottom.get()})
    EXPECT_TRUE(edge->Image2.Empty());
}

TEST_F(StoredSkin, TitleAndCaptionButtons) {
  const TDataSkinTitle& t = *FModel->Title;
  EXPECT_TRUE(t.Image.Empty());
  EXPECT_EQ(t.LeftWidth, 26);
  EXPECT_EQ(t.TopHeight, 1);
  EXPECT_EQ(t.RightWidth, 85);
  EXPECT_EQ(t.BottomHeight, 0);
  EXPECT_EQ(t.TextAlignment, 0);
  EXPECT_EQ(t.FontHeight, 12);
  EXPECT_EQ(t.ActiveTextColour, 0x000000u);
  EXPECT_EQ(t.InactiveTextColour, 0x646464u);
  EXPECT_EQ(t.FrameCount, 2);

  struct TButton {
    int Action, Align, X, Y, Visibility, Width, Height, Frames;
  };
  const TButton expected[] = {
      {0, 1, 30, 8, 0, 120, 15, 6},
      {1, 1, 56, 8, 2, 120, 15, 6},
      {1, 1, 56, 8, 1, 120, 15, 6},
      {2, 1, 82, 8, 0, 120, 15, 6},
      {3, 0, 8, 7, 0, 0, 0, 6},  // the icon button: its picture is dropped, the
                                 // window's icon shows
      {7, 100, 57, 0, 100, 60, 10, 4},
      {8, 100, 38, 0, 100, 60, 10, 4},
      {9, 100, 19, 0, 100, 60, 10, 4},
  };
  ASSERT_EQ(FModel->SysButtons.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    SCOPED_TRACE("caption button " + std::to_string(i));
    const TDataSkinSysButton& b = *FModel->SysButtons[i];
    const TButton& e = expected[i];
    EXPECT_EQ(b.Action, e.Action);
    EXPECT_EQ(b.Align, e.Align);
    EXPECT_EQ(b.XCoord, e.X);
    EXPECT_EQ(b.YCoord, e.Y);
    EXPECT_EQ(b.Visibility, e.Visibility);
    EXPECT_EQ(b.Visibility1, i >= 5 ? 100 : 0);
    EXPECT_EQ(b.Image.Width(), e.Width);
    EXPECT_EQ(b.Image.Height(), e.Height);
    EXPECT_EQ(b.FrameCount, e.Frames);
  }
  for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(FModel->SysButtons[i]->Name, "BUTTON" + std::to_string(i));
}

TEST_F(StoredSkin, ColourSetAndExtraColours) {
  const TSkinColours& c = FModel->Colours;
  constexpr TSkinColour black = 0, white = 0xFFFFFF;
  EXPECT_EQ(c.ButtonFaceColour, 0xD5E9EEu);
  EXPECT_EQ(c.MenubarColour, 0xD5E9EEu);
  for (TSkinColour v : {c.ButtonTextColour, c.WindowTextColour, c.MenuTextColour, c.HilightTextColour,
                        c.ButtonDkShadowColour, c.MenuBarTextColour})
    EXPECT_EQ(v, black);
  EXPECT_EQ(c.ScrollbarColour, 0x804A00u);
  EXPECT_EQ(c.HilightColour, 0xC2AE85u);
  EXPECT_EQ(c.MenuColour, 0xC4CAC0u);
  EXPECT_EQ(c.ButtonHilightColour, white);
  EXPECT_EQ(c.ButtonLightColour, 0xDFDFDFu);
  EXPECT_EQ(c.ButtonShadowColour, 0xC0C0C0u);
  EXPECT_EQ(c.TitleTextActiveColour, white);
  EXPECT_EQ(c.TitleTextNoActiveColour, 0x646464u);
  EXPECT_EQ(FModel->ExtraColours, (std::vector<TSkinColour>{black, white, 0x808080u}));
}

// Pictures the drawing code copies without a key must not hold magenta: it would show.
// (The scroll arrows count among them: the bar is composed over the dark scroll-bar
// colour, which would peek through keyed corners.) The frame edges that cut the window
// region must have their outer corners keyed.
TEST_F(StoredSkin, MagentaOnlyWhereItIsTransparent) {
  const TSkinDefinition& m = *FModel;
  auto keyed = [](const TPixelBitmap& b) {
    return std::ranges::any_of(b.Pixels(), [](std::uint32_t p) { return p == PixelOf(kKeyColor); });
  };
  const std::pair<const char*, const TPixelBitmap*> opaque[] = {
      {"Buttons", &m.Buttons->Image},
      {"Tabs", &m.Tabs->Image},
      {"tab borders", &m.Tabs->Image2},
      {"SunkEdge", &m.SunkEdge->Image},
      {"ComboButton", &m.ComboButton->Image},
      {"Headerbar", &m.Headerbar->Image},
      {"MenuBackground", &m.MenuBackground->Image},
      {"MenuBar", &m.MenuBar->Image},
      {"Scrollbar", &m.Scrollbar->Image},
      {"HorzScroll", &m.HorzScroll->Image},
      {"VertScroll", &m.VertScroll->Image},
      {"HorzScrollThumb", &m.HorzScrollThumb->Image},
      {"VertScrollThumb", &m.VertScrollThumb->Image},
      {"StatusBarEdges", &m.StatusBarEdges->Image},
      {"BorderBottom", &m.BorderBottom->Image},
      {"UpDownVert", &m.UpDownVert->Image},
  };
  for (const auto& [field, bitmap] : opaque) EXPECT_FALSE(keyed(*bitmap)) << field;
  const std::uint32_t key = PixelOf(kKeyColor);
  for (int frame = 0; frame < 2; ++frame) {
    SCOPED_TRACE(frame == 0 ? "active" : "inactive");
    EXPECT_EQ(m.BorderLeft->Image.Pixel(frame * 4, 0), key);
    EXPECT_EQ(m.BorderRight->Image.Pixel(frame * 4 + 3, 0), key);
    EXPECT_EQ(m.BorderLeft->Image.Pixel(frame * 4, 287), key);
    EXPECT_NE(m.BorderLeft->Image.Pixel(frame * 4, 144), key) << "the sides are solid below the corners";
  }
}

// The frame is drawn in four pieces; where they meet, their colours must agree or the
// window shows seams: the sides' caption rows against the top piece's first and last
// columns (below the rounded corners), the sides' bottom rows against the bottom piece.
TEST_F(StoredSkin, FramePiecesMeetWithoutSeams) {
  const TSkinDefinition& m = *FModel;
  const TPixelBitmap &left = m.BorderLeft->Image, &right = m.BorderRight->Image;
  const TPixelBitmap &top = m.BorderTop->Image, &bottom = m.BorderBottom->Image;
  for (int frame = 0; frame < 2; ++frame) {
    SCOPED_TRACE(frame == 0 ? "active" : "inactive");
    for (int y = 8; y < 30; ++y) {
      EXPECT_EQ(left.Pixel(frame * 4 + 3, y), top.Pixel(0, frame * 30 + y)) << "caption row " << y;
      EXPECT_EQ(right.Pixel(frame * 4, y), top.Pixel(311, frame * 30 + y)) << "caption row " << y;
    }
    for (int y = 0; y < 4; ++y) {
      EXPECT_EQ(left.Pixel(frame * 4 + 3, 284 + y), bottom.Pixel(0, frame * 4 + y)) << "bottom row " << y;
      EXPECT_EQ(right.Pixel(frame * 4, 284 + y), bottom.Pixel(311, frame * 4 + y)) << "bottom row " << y;
    }
  }
}

TEST(GeneratedSkin, CommittedContainerIsUpToDate) {
  ExpectCommittedSkinIsUpToDate(KV_STORED_SKIN, skingen::TSkinName::snKoravent, kRegenerate);
}

}  // namespace
}  // namespace kv
