// skintool check and sheet: the problems a skin author is told about, the exit codes, and
// the contact sheet's layout and pixels.
#include <gtest/gtest.h>

#include <sstream>

#include "SkinCheck.h"
#include "SkinSheet.h"
#include "base/FileIo.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinPacker.h"

namespace kv {
namespace {

std::string Bmp(int width, int height, std::uint32_t fill = 0x808080) {
  return WriteBmp24(TPixelBitmap(width, height, fill));
}

struct TCheckResult {
  int FCode;
  std::string FOut;
};

TCheckResult Check(const std::string& container) {
  std::ostringstream out, err;
  const int code = CheckSkin(container, out, err);
  return {code, out.str() + err.str()};
}

std::vector<std::pair<TProblemKind, std::string>> Problems(const std::string& container) {
  TOpenedSkin skin;
  std::string error;
  EXPECT_EQ(skin.Open(container, error), TOpenStatus::isOpened) << error;
  std::vector<std::pair<TProblemKind, std::string>> found;
  for (const TSkinProblem& p : FindSkinProblems(skin)) found.emplace_back(p.FKind, p.FSubject);
  return found;
}

// Every kind of fault once, next to references that are fine.
const char* const kBrokenDefinition =
    "[TitlebarSkin]\r\nSkinName=Broken\r\n"
    "[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\n"
    "[Button0]\r\nAction=3\r\nButtonImage=icon.bmp\r\n"
    "[Buttons]\r\nBitmap=buttons.bmp\r\nLeftWidth=30\r\nRightWidth=30\r\nCheckButton=gone.bmp\r\n"
    "[Progress]\r\nBitmap=empty.bmp\r\n"
    "[Tabs]\r\nImage=tabs.bmp\r\nBorder=Tabs.BMP\r\n"
    "[SunkEdge]\r\nImage=junk.bmp\r\nLeftWidth=-1\r\n"
    "[Scrollbar]\r\nImage=pictures\\arrows.bmp\r\n"
    "[HorzScroll]\r\nImage=hs.bmp\r\nLeftWidth=-2\r\n";

std::string BrokenSkin() {
  return BuildSkinContainer({{"skin.ini", kBrokenDefinition},
                             {"top.bmp", Bmp(40, 21)},       // stacked frames: 21 rows do not halve
                             {"icon.bmp", Bmp(7, 5)},        // never drawn: no frame rules apply
                             {"buttons.bmp", Bmp(100, 20)},  // frames 20 wide, margins 30 + 30
                             {"empty.bmp", ""},
                             {"tabs.bmp", Bmp(203, 19)},  // 5 frames
                             {"junk.bmp", "BM not really"},
                             {"arrows.bmp", Bmp(46, 2)},
                             {"hs.bmp", Bmp(8, 2)},
                             {"extra.bmp", Bmp(2, 2)},
                             {"TABS.bmp", Bmp(5, 1)}});
}

TEST(SkinCheck, ReportsEachFaultOfABrokenSkin) {
  using enum TProblemKind;
  const std::vector<std::pair<TProblemKind, std::string>> expected = {
      {pkFrameWidth, "top.bmp"},         {pkMarginsTooLarge, "buttons.bmp"}, {pkMissingPicture, "gone.bmp"},
      {pkMissingPicture, "empty.bmp"},   {pkFrameWidth, "tabs.bmp"},         {pkNotBmpReference, "Tabs.BMP"},
      {pkUnreadablePicture, "junk.bmp"}, {pkNegativeMargin, "hs.bmp"},       {pkUnreferencedEntry, "extra.bmp"},
      {pkShadowedEntry, "TABS.bmp"},
  };
  EXPECT_EQ(Problems(BrokenSkin()), expected);

  const TCheckResult r = Check(BrokenSkin());
  EXPECT_EQ(r.FCode, 1);
  EXPECT_NE(r.FOut.find("Problems (10):"), std::string::npos) << r.FOut;
  EXPECT_NE(r.FOut.find("[Buttons] CheckButton=gone.bmp: no entry gone.bmp"), std::string::npos) << r.FOut;
  EXPECT_NE(r.FOut.find("tabs.bmp (Tabs): 203 pixels wide do not divide into 5 frames"), std::string::npos) << r.FOut;
  EXPECT_NE(r.FOut.find("top.bmp (BorderTop): 21 pixels high do not divide into 2 frames"), std::string::npos)
      << r.FOut;
}

TEST(SkinCheck, CleanSkinGivesZeroAndTheModelInWords) {
  const std::string definition =
      "[TitlebarSkin]\r\nSkinName=Clean\r\n"
      "[Personality]\r\nLeft=l.bmp\r\nLeftFrame=2\r\nLeftTopHeight=3\r\nActiveTextR=1\r\nActiveTextG=2\r\n"
      "ActiveTextB=3\r\n"
      "[Buttons]\r\nBitmap=b.bmp\r\nLeftWidth=1\r\nRightWidth=1\r\n"
      "[Colours]\r\nButtonFace=238 233 213\r\n"
      "[Colour0]\r\ncolor=1,2,3\r\n";
  const TCheckResult r =
      Check(BuildSkinContainer({{"skin.ini", definition}, {"l.bmp", Bmp(4, 10)}, {"b.bmp", Bmp(10, 4)}}));
  EXPECT_EQ(r.FCode, 0) << r.FOut;
  for (const char* line : {"Skin \"Clean\": definition skin.ini, 3 entries",
                           "  BorderLeft           l.bmp                        4 x 10     2 frames of 2 x 10",
                           "  Buttons              b.bmp                        10 x 4     5 frames of 2 x 4",
                           "ButtonFaceColour         238,233,213", "MenubarColour            238,233,213",
                           "WindowTextColour         system colour 8", "Extra colours: 1,2,3",
                           "active text 1,2,3, inactive text not given", "No problems."})
    EXPECT_NE(r.FOut.find(line), std::string::npos) << line << "\n" << r.FOut;
}

TEST(SkinCheck, EntriesNamedOnlyInCommentsAreSpare) {
  const std::string definition = "[Progress]\r\nBitmap=p.bmp\r\n;Chunk=chunk.bmp\r\n; see bold.bmp\r\n";
  const std::string container = BuildSkinContainer(
      {{"skin.ini", definition}, {"p.bmp", Bmp(4, 2)}, {"Chunk.bmp", Bmp(2, 2)}, {"old.bmp", Bmp(2, 2)}});
  TOpenedSkin skin;
  std::string error;
  ASSERT_EQ(skin.Open(container, error), TOpenStatus::isOpened);
  EXPECT_EQ(SpareEntries(skin), std::vector<std::string>{"Chunk.bmp"});
  // "bold.bmp" does not name old.bmp.
  const std::vector<std::pair<TProblemKind, std::string>> expected = {{TProblemKind::pkUnreferencedEntry, "old.bmp"}};
  EXPECT_EQ(Problems(container), expected);
}

TEST(SkinCheck, DoubleSizePicturesMustBeTwiceTheirBase) {
  // p@2x is right; q@2x is one pixel short; r@2x doubles a picture nothing uses.
  const std::string container = BuildSkinContainer({{"skin.ini", "[Progress]\r\nBitmap=p.bmp\r\nChunk=q.bmp\r\n"},
                                                    {"p.bmp", Bmp(4, 2)},
                                                    {"p@2x.bmp", Bmp(8, 4)},
                                                    {"q.bmp", Bmp(3, 3)},
                                                    {"q@2x.bmp", Bmp(6, 5)},
                                                    {"r@2x.bmp", Bmp(2, 2)}});
  const std::vector<std::pair<TProblemKind, std::string>> expected = {{TProblemKind::pkHiResSize, "q@2x.bmp"},
                                                                      {TProblemKind::pkUnreferencedEntry, "r@2x.bmp"}};
  EXPECT_EQ(Problems(container), expected);
  const TCheckResult r = Check(container);
  EXPECT_EQ(r.FCode, 1);
  EXPECT_NE(r.FOut.find("q@2x.bmp: 6 x 5, but a double-size picture of q.bmp must be 6 x 6"), std::string::npos)
      << r.FOut;
}

TEST(SkinCheck, UnusableContainersGiveTwoAndAnEmptyOneHasNoDefinition) {
  EXPECT_EQ(Check("").FCode, 2);
  EXPECT_EQ(Check("not a skin at all").FCode, 2);
  std::string older = BuildSkinImage({{"a.ini", "x"}});
  older[0] = 0x1F;
  const TCheckResult r = Check(PackSkinImage(older));
  EXPECT_EQ(r.FCode, 2);
  EXPECT_NE(r.FOut.find("older skin file"), std::string::npos) << r.FOut;

  const std::vector<std::pair<TProblemKind, std::string>> expected = {{TProblemKind::pkNoDefinition, ""}};
  EXPECT_EQ(Problems(BuildSkinContainer({})), expected);
  EXPECT_EQ(Check(BuildSkinContainer({})).FCode, 1);
}

// check tells an author when the program would keep no skin for the pictures' sake.
TEST(SkinCheck, PicturesBeyondThePixelBudgetGiveTwo) {
  const std::string container = BuildSkinContainer({{"skin.ini",
                                                     "[Button0]\r\nButtonImage=b.bmp\r\n"
                                                     "[Button1]\r\nButtonImage=b.bmp\r\n"},
                                                    {"b.bmp", Bmp(30, 10)}});
  std::ostringstream out, err;
  EXPECT_EQ(CheckSkin(container, out, err, 300 * 3), 0) << err.str();
  std::ostringstream out2, err2;
  EXPECT_EQ(CheckSkin(container, out2, err2, 300 * 3 - 1), 2);
  EXPECT_NE(err2.str().find("the pictures take more than 899 pixels"), std::string::npos) << err2.str();
  EXPECT_TRUE(out2.str().empty());
  TOpenedSkin skin;
  std::string error;
  EXPECT_EQ(skin.Open(container, error, 300 * 3 - 1), TOpenStatus::isOverBudget);
  EXPECT_TRUE(skin.Entries().empty());
}

TEST(SkinCheck, ColoursInWords) {
  EXPECT_EQ(ColourText(0x00D5E9EE), "238,233,213");
  EXPECT_EQ(ColourText(SystemColour(15)), "system colour 15");
  EXPECT_EQ(ColourText(TDataSkinTitle::kNoColour), "not given");
}

TEST(SkinSheet, LaysOutRowsAndMarksFramesAndMagenta) {
  TPixelBitmap strip(6, 2, 0x102030);  // 3 frames of 2 x 2
  strip.SetPixel(1, 0, PixelOf(kKeyColor));
  strip.SetPixel(2, 0, 0x405060);
  TPixelBitmap top(3, 4, 0x708090);  // 2 frames of 3 x 2, one above the other
  top.SetPixel(0, 2, 0x0A0B0C);
  const std::string definition =
      "[HorzScrollThumb]\r\nImage=strip.bmp\r\nFrameCount=3\r\n[Personality]\r\nTop=top.bmp\r\nTopFrame=2\r\n";
  TOpenedSkin skin;
  std::string error;
  ASSERT_EQ(skin.Open(BuildSkinContainer({{"skin.ini", definition},
                                          {"strip.bmp", WriteBmp24(strip)},
                                          {"top.bmp", WriteBmp24(top)},
                                          {"notes.bmp", "no picture"}}),
                      error),
            TOpenStatus::isOpened);
  const TContactSheet sheet = BuildContactSheet(skin);
  ASSERT_EQ(sheet.FRows.size(), 2u);
  EXPECT_EQ(sheet.FSkipped, std::vector<std::string>{"notes.bmp"});
  // Row 1: 6 x 2 at 2x, two separators, outline: 16 x 6. Row 2: 3 x 4 at 2x, one
  // separator, outline: 8 x 11.
  const int left = kSheetPadding + kSheetLabelWidth;
  EXPECT_EQ(sheet.FRows[0].FOutline, (Rect{left, kSheetPadding, left + 16, kSheetPadding + 6}));
  const int top2 = 2 * kSheetPadding + 6;
  EXPECT_EQ(sheet.FRows[1].FOutline, (Rect{left, top2, left + 8, top2 + 11}));
  ASSERT_EQ(sheet.FSheet.Width(), left + 16 + kSheetPadding);
  ASSERT_EQ(sheet.FSheet.Height(), top2 + 11 + kSheetPadding);

  const TPixelBitmap& s = sheet.FSheet;
  const int y0 = kSheetPadding + 1;  // first picture row inside the outline
  EXPECT_EQ(s.Pixel(left, kSheetPadding), kSheetLine);
  EXPECT_EQ(s.Pixel(left + 1, y0), 0x102030u);
  EXPECT_EQ(s.Pixel(left + 2, y0 + 1), 0x102030u);
  // The magenta pixel (1, 0) covers 2 x 2 sheet pixels, drawn as the checkerboard.
  for (int dy = 0; dy < 2; ++dy)
    for (int dx = 0; dx < 2; ++dx) {
      const int x = left + 3 + dx, y = y0 + dy;
      EXPECT_EQ(s.Pixel(x, y),
                ((x / kSheetCheckerSize + y / kSheetCheckerSize) & 1) ? kSheetCheckerDark : kSheetCheckerLight);
    }
  EXPECT_NE(s.Pixel(left + 3, y0), s.Pixel(left + 4, y0));  // both squares show here
  // Separator after frame 1, then frame 2 begins with source pixel (2, 0).
  for (int y = y0; y < y0 + 4; ++y) EXPECT_EQ(s.Pixel(left + 5, y), kSheetLine) << y;
  EXPECT_EQ(s.Pixel(left + 6, y0), 0x405060u);
  EXPECT_EQ(s.Pixel(left + 10, y0), kSheetLine);
  EXPECT_EQ(s.Pixel(left + 16, y0), kSheetBackground);
  // Stacked frames: a separator row, then the second frame's first row.
  for (int x = left + 1; x < left + 7; ++x) EXPECT_EQ(s.Pixel(x, top2 + 5), kSheetLine) << x;
  EXPECT_EQ(s.Pixel(left + 1, top2 + 6), 0x0A0B0Cu);
  EXPECT_EQ(s.Pixel(left + 1, top2 + 4), 0x708090u);
  // Row numbers: the "1" has its top stroke in its middle column.
  EXPECT_EQ(s.Pixel(kSheetPadding + 2, y0), kSheetLabel);
  EXPECT_EQ(s.Pixel(kSheetPadding, y0), kSheetBackground);
}

TEST(SkinCheck, TheProgramsOwnSkinHasNoProblems) {
  const auto bytes = ReadFileBytes(KV_STORED_SKIN);  // the committed container (set by the build)
  ASSERT_TRUE(bytes) << "cannot read " << KV_STORED_SKIN;
  const TCheckResult r = Check(*bytes);
  EXPECT_EQ(r.FCode, 0) << r.FOut;
  TOpenedSkin skin;
  std::string error;
  ASSERT_EQ(skin.Open(*bytes, error), TOpenStatus::isOpened);
  const TContactSheet sheet = BuildContactSheet(skin);
  EXPECT_TRUE(sheet.FSkipped.empty());
  EXPECT_EQ(sheet.FRows.size() + 1, skin.Entries().size());  // every entry but the definition
  EXPECT_FALSE(sheet.FSheet.Empty());
}

}  // namespace
}  // namespace kv
