// skintool preview: the frame in the picture is where the engine's own layout puts it
// (pieces, caption, buttons, the region's cut corners), the window state and size change
// what they should, and a damaged skin writes nothing.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <tuple>

#include "SheetPng.h"
#include "SkinOpened.h"
#include "SkinPreview.h"
#include "base/FileIo.h"
#include "skin/data/BmpCodec.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinFrames.h"
#include "skin/data/SkinScaling.h"

namespace fs = std::filesystem;

namespace kv {
namespace {

std::unique_ptr<TOpenedSkin> OpenSkin(const char* path) {
  auto skin = std::make_unique<TOpenedSkin>();
  const auto bytes = ReadFileBytes(path);
  std::string error;
  if (!bytes || skin->Open(*bytes, error) != TOpenStatus::isOpened) return nullptr;
  return skin;
}

const TSkinDefinition& StoredModel() {
  static const std::unique_ptr<TOpenedSkin> skin = OpenSkin(KV_STORED_SKIN);
  if (!skin) throw std::runtime_error(std::string("cannot open ") + KV_STORED_SKIN);
  return skin->Model();
}

// What the window region leaves out: magenta, with the region's tolerance of 1.
bool CutAway(std::uint32_t pixel) { return (pixel & 0xFF00FF) == 0xFF00FF && ((pixel >> 8) & 0xFF) <= 1; }

// Compares `area` of the preview with `piece` drawn at its top-left: the piece's pixel, or
// the desktop where a keyed piece is magenta. Pixels `skip` says are someone else's are not
// compared. Returns how many desktop pixels the piece left.
template <typename TSkip>
int ExpectPiece(const TSkinPreview& preview, const TPixelBitmap& piece, int x0, int y0, bool keyed, TSkip skip,
                const char* what) {
  int desktop = 0, wrong = 0;
  for (int y = 0; y < piece.Height(); ++y)
    for (int x = 0; x < piece.Width(); ++x) {
      if (skip(x0 + x, y0 + y)) continue;
      const bool cut = keyed && CutAway(piece.Pixel(x, y));
      const std::uint32_t expected = cut ? kPreviewDesktop : piece.Pixel(x, y);
      desktop += cut;
      if (preview.FPicture.Pixel(x0 + x, y0 + y) != expected && ++wrong <= 3)
        ADD_FAILURE() << what << " differs at (" << x0 + x << ", " << y0 + y << ")";
    }
  return desktop;
}

// The whole frame against the engine's portable routines for the preview's window; the
// number of desktop pixels the region left in the frame.
int ExpectFrameAsEngineDrawsIt(const TSkinDefinition& model, const TSkinPreview& preview) {
  const FrameWindow& w = preview.FWindow;
  const Margins& b = w.Borders;
  EXPECT_EQ(preview.FPicture.Width(), w.Width);
  EXPECT_EQ(preview.FPicture.Height(), w.Height);
  if (model.BorderTop) {
    EXPECT_EQ(b.Top, model.BorderTop->Image.Height() / std::max(model.BorderTop->FrameCount, 1));
  }
  if (model.BorderLeft) {
    EXPECT_EQ(b.Left, model.BorderLeft->Image.Width() / std::max(model.BorderLeft->FrameCount, 1));
  }
  const auto none = [](int, int) { return false; };
  int desktop = 0;
  if (model.BorderLeft)
    desktop +=
        ExpectPiece(preview, RenderBorderPiece(TFrameEdge::feLeft, b.Left, w.Height, *model.BorderLeft, w.Active), 0, 0,
                    model.BorderLeft->Trans == 1, none, "left piece");
  if (model.BorderRight)
    desktop +=
        ExpectPiece(preview, RenderBorderPiece(TFrameEdge::feRight, b.Right, w.Height, *model.BorderRight, w.Active),
                    w.Width - b.Right, 0, model.BorderRight->Trans == 1, none, "right piece");
  if (model.BorderBottom)
    desktop += ExpectPiece(
        preview,
        RenderBorderPiece(TFrameEdge::feBottom, w.Width - b.Left - b.Right, b.Bottom, *model.BorderBottom, w.Active),
        b.Left, w.Height - b.Bottom, model.BorderBottom->Trans == 1 && b.Bottom >= 2, none, "bottom piece");

  // The caption: where the engine places it for the preview's text, and the buttons
  // where its layout puts them, each showing the frame of the window's state.
  static const TDataSkinTitle kNoTitle;
  const CaptionPlacement placement =
      PlaceCaption({b.Left, 0, w.Width - b.Right, b.Top}, PreviewTextExtent("   Koravent preview"),
                   model.Title ? *model.Title : kNoTitle, w, 0);
  EXPECT_EQ(preview.FCaption.Text, placement.Text);
  EXPECT_EQ(preview.FCaption.Inner, placement.Inner);
  const FrameSkin skin = FrameSkinOf(model);
  const ButtonLayout layout = LayoutButtons(skin, w, placement.Text, {});
  EXPECT_EQ(preview.FButtons.Buttons.size(), layout.Buttons.size());
  TPixelBitmap redrawn = preview.FCaptionStrip;
  for (std::size_t i = 0; i < layout.Buttons.size() && i < preview.FButtons.Buttons.size(); ++i) {
    const TDataSkinSysButton& button = *model.SysButtons[i];
    if (button.Action == 3 || button.Action == 11) continue;  // the window's icon, not the record's picture
    EXPECT_EQ(preview.FButtons.Buttons[i].Visible, layout.Buttons[i].Visible) << "button " << i;
    if (!layout.Buttons[i].Visible || button.Image.Empty() || button.Visibility == 100) continue;
    EXPECT_EQ(preview.FButtons.Buttons[i].Bounds, layout.Buttons[i].Bounds) << "button " << i;
    DrawCaptionButton(redrawn, layout.Buttons[i].Bounds, button,
                      w.Active ? TStateFlags::csNone : TStateFlags::csInactive, nullptr);
  }
  // Drawing each button again in its state changes nothing when it is there already.
  EXPECT_TRUE(std::equal(redrawn.Pixels().begin(), redrawn.Pixels().end(), preview.FCaptionStrip.Pixels().begin()));

  // The top piece wherever neither the caption nor a button covers it.
  const auto covered = [&](int x, int y) {
    if (x >= placement.Back.Left && x < placement.Back.Right) return true;
    for (const ButtonPlace& place : preview.FButtons.Buttons)
      if (place.Visible && x >= place.Bounds.Left && x < place.Bounds.Right && y >= place.Bounds.Top &&
          y < place.Bounds.Bottom)
        return true;
    return false;
  };
  if (model.BorderTop)
    desktop += ExpectPiece(
        preview, RenderBorderPiece(TFrameEdge::feTop, w.Width - b.Left - b.Right, b.Top, *model.BorderTop, w.Active),
        b.Left, 0, model.BorderTop->Trans == 1, covered, "top piece");
  return desktop;
}

std::uint32_t Pixel(TSkinColour colour) { return PixelOf(colour & 0xFFFFFF); }

int CountIn(const TPixelBitmap& picture, const Rect& r, std::uint32_t pixel) {
  int n = 0;
  for (int y = std::max(r.Top, 0); y < std::min(r.Bottom, picture.Height()); ++y)
    for (int x = std::max(r.Left, 0); x < std::min(r.Right, picture.Width()); ++x) n += picture.Pixel(x, y) == pixel;
  return n;
}

TEST(SkinPreview, TheProgramsSkinFramesTheWindowAsTheEngineDoes) {
  const TSkinDefinition& model = StoredModel();
  for (const auto& [width, height] : {std::pair{480, 360}, std::pair{640, 300}, std::pair{150, 90}}) {
    SCOPED_TRACE(testing::Message() << width << " x " << height);
    TPreviewOptions options;
    options.FWidth = width;
    options.FHeight = height;
    const TSkinPreview preview = RenderSkinPreview(model, options);
    ASSERT_EQ(preview.FPicture.Width(), width);
    // The rounded corners are cut: the desktop shows there, nowhere inside the client area.
    EXPECT_GT(ExpectFrameAsEngineDrawsIt(model, preview), 0);
    EXPECT_EQ(preview.FPicture.Pixel(0, 0), kPreviewDesktop);
    EXPECT_EQ(preview.FPicture.Pixel(width - 1, 0), kPreviewDesktop);
    EXPECT_EQ(CountIn(preview.FPicture, preview.FClient, kPreviewDesktop), 0);
    // The menu bar sits under the caption when the skin has its picture.
    ASSERT_TRUE(model.MenuBar && !model.MenuBar->Image.Empty());
    EXPECT_EQ(preview.FMenuBar.Top, preview.FWindow.Borders.Top);
    EXPECT_EQ(preview.FClient.Top, preview.FMenuBar.Bottom);
  }
}

TEST(SkinPreview, InactiveChangesTheCaptionButNotTheLayout) {
  const TSkinDefinition& model = StoredModel();
  TPreviewOptions options;
  const TSkinPreview active = RenderSkinPreview(model, options);
  options.FInactive = true;
  const TSkinPreview inactive = RenderSkinPreview(model, options);
  ExpectFrameAsEngineDrawsIt(model, inactive);

  EXPECT_EQ(active.FCaption.Text, inactive.FCaption.Text);
  EXPECT_EQ(active.FClient, inactive.FClient);
  ASSERT_EQ(active.FButtons.Buttons.size(), inactive.FButtons.Buttons.size());
  for (std::size_t i = 0; i < active.FButtons.Buttons.size(); ++i) {
    EXPECT_EQ(active.FButtons.Buttons[i].Visible, inactive.FButtons.Buttons[i].Visible);
    EXPECT_EQ(active.FButtons.Buttons[i].Bounds, inactive.FButtons.Buttons[i].Bounds);
  }
  EXPECT_FALSE(std::equal(active.FCaptionStrip.Pixels().begin(), active.FCaptionStrip.Pixels().end(),
                          inactive.FCaptionStrip.Pixels().begin()));
  // The text in each state's title colour, inside the place the engine gives it.
  const std::uint32_t on = Pixel(model.Colours.TitleTextActiveColour);
  const std::uint32_t off = Pixel(model.Colours.TitleTextNoActiveColour);
  ASSERT_NE(on, off);
  EXPECT_GT(CountIn(active.FCaptionStrip, active.FCaption.Inner, on), 20);
  EXPECT_EQ(CountIn(active.FCaptionStrip, active.FCaption.Inner, off), 0);
  EXPECT_GT(CountIn(inactive.FCaptionStrip, inactive.FCaption.Inner, off), 20);
  EXPECT_EQ(CountIn(inactive.FCaptionStrip, inactive.FCaption.Inner, on), 0);
}

// A caption longer than the strip, however long, ends at the right clip with an ellipsis,
// clear of the buttons.
TEST(SkinPreview, ALongCaptionStopsShortOfTheButtons) {
  const TSkinDefinition& model = StoredModel();
  TPreviewOptions options;
  options.FCaption = std::string(200000, 'H');
  const TSkinPreview preview = RenderSkinPreview(model, options);
  const FrameWindow& w = preview.FWindow;
  EXPECT_EQ(preview.FCaption.Text.Right, w.Width - w.Borders.Right - model.Title->RightWidth);
  const std::uint32_t text = Pixel(model.Colours.TitleTextActiveColour);
  const Rect inner = preview.FCaption.Inner;
  EXPECT_GT(CountIn(preview.FCaptionStrip, inner, text), 100);
  const int beyond = CountIn(preview.FCaptionStrip, {inner.Right, 0, w.Width, w.Borders.Top}, text);
  EXPECT_EQ(beyond,
            CountIn(RenderSkinPreview(model, {}).FCaptionStrip, {inner.Right, 0, w.Width, w.Borders.Top}, text));
  // It ends in dots: the rightmost text pixel on the bottom row has nothing above it.
  int last = -1;
  for (int x = inner.Left; x < inner.Right; ++x)
    if (preview.FCaptionStrip.Pixel(x, inner.Top + 7) == text) last = x;
  ASSERT_GE(last, 0);
  for (int y = inner.Top + 1; y < inner.Top + 7; ++y) EXPECT_NE(preview.FCaptionStrip.Pixel(last, y), text) << y;
}

TEST(SkinPreview, ControlsShowTheFramesOfTheirStates) {
  const TSkinDefinition& model = StoredModel();
  const TSkinPreview preview = RenderSkinPreview(model, {});
  const auto find = [&](const std::string& name) {
    for (const TPreviewControl& c : preview.FControls)
      if (c.FName == name) return c.FBounds;
    ADD_FAILURE() << "no " << name;
    return Rect{};
  };
  for (const TPreviewControl& c : preview.FControls) {
    EXPECT_GE(c.FBounds.Left, preview.FClient.Left) << c.FName;
    EXPECT_LE(c.FBounds.Right, preview.FClient.Right) << c.FName;
    EXPECT_LE(c.FBounds.Bottom, preview.FClient.Bottom) << c.FName;
  }
  // Push buttons: the face frame of each state, compared along the top rows (the caption
  // lies in the middle).
  TElementImage face = ElementImage(*model.Buttons);
  face.FFrameCount = 5;
  const std::pair<const char*, int> buttons[] = {
      {"button Normal", 1}, {"button Hot", 4}, {"button Pressed", 2}, {"button Disabled", 3}};
  for (const auto& [name, frame] : buttons) {
    const Rect r = find(name);
    TPixelBitmap expected(r.Width(), r.Height(), Pixel(model.Colours.ButtonFaceColour));
    DrawElement(expected, expected.Bounds(), face, frame);
    TPixelBitmap top(r.Width(), 4);
    CopyPixels(top, 0, 0, preview.FPicture, {r.Left, r.Top, r.Right, r.Top + 4});
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < r.Width(); ++x)
        ASSERT_EQ(top.Pixel(x, y), expected.Pixel(x, y)) << name << " at " << x << ", " << y;
  }
  // Check and radio marks: frame 2 checked, 1 not, whole and unstretched.
  for (const auto& [name, radio, frame] :
       {std::tuple{"check box checked", false, 2}, std::tuple{"check box unchecked", false, 1},
        std::tuple{"radio checked", true, 2}, std::tuple{"radio unchecked", true, 1}}) {
    const TPixelBitmap& strip = radio ? model.Buttons->RadioImage : model.Buttons->CheckImage;
    const int frames = radio ? model.Buttons->RadioFrameCount : model.Buttons->CheckFrameCount;
    const int w = strip.Width() / frames, h = strip.Height();
    const Rect r = find(name);
    const int left = r.Left + (14 - w) / 2, top = r.Top + (r.Height() - h) / 2;
    int same = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        const std::uint32_t p = strip.Pixel((frame - 1) * w + x, y);
        if (!CutAway(p))
          same += preview.FPicture.Pixel(left + x, top + y) == p;
        else
          same += preview.FPicture.Pixel(left + x, top + y) == Pixel(model.Colours.ButtonFaceColour);
      }
    EXPECT_EQ(same, w * h) << name;
  }
}

TEST(SkinPreview, AtTwiceTheScaleEveryControlStandsWhereItsPlaceScaledSays) {
  const TSkinPreview at96 = RenderSkinPreview(StoredModel(), {});
  const auto model192 = ScaleDefinition(StoredModel(), 192, [](std::string_view) { return std::string(); });
  ASSERT_NE(model192, nullptr);
  TPreviewOptions options;
  options.FDpi = 192;
  options.FWidth = 2 * kPreviewDefaultWidth;
  options.FHeight = 2 * kPreviewDefaultHeight;
  const TSkinPreview at192 = RenderSkinPreview(*model192, options);
  ASSERT_EQ(at192.FClient.Width(), 2 * at96.FClient.Width()) << "the frame doubles with its pictures";
  ASSERT_EQ(at192.FControls.size(), at96.FControls.size());
  for (std::size_t i = 0; i < at96.FControls.size(); ++i) {
    const Rect a = at96.FControls[i].FBounds, b = at192.FControls[i].FBounds;
    const int dx = at96.FClient.Left, dy = at96.FClient.Top, ex = at192.FClient.Left, ey = at192.FClient.Top;
    EXPECT_NEAR(b.Left - ex, 2 * (a.Left - dx), 1) << at96.FControls[i].FName;
    EXPECT_NEAR(b.Top - ey, 2 * (a.Top - dy), 1) << at96.FControls[i].FName;
    EXPECT_NEAR(b.Width(), 2 * a.Width(), 1) << at96.FControls[i].FName;
    EXPECT_NEAR(b.Height(), 2 * a.Height(), 1) << at96.FControls[i].FName;
  }
}

TEST(SkinPreview, SizesOutOfRangeAreRefused) {
  int w = 0, h = 0;
  EXPECT_TRUE(ParsePreviewSize("640x480", w, h));
  EXPECT_EQ(w, 640);
  EXPECT_EQ(h, 480);
  for (const char* bad : {"0x10", "10x0", "5000x10", "12x", "x12", "12", "-5x10", "10x10x10", " 9x9"})
    EXPECT_FALSE(ParsePreviewSize(bad, w, h)) << bad;
  TPreviewOptions options;
  options.FWidth = 0;
  EXPECT_TRUE(RenderSkinPreview(StoredModel(), options).FPicture.Empty());
}

class SkinPreviewFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    FRoot = fs::temp_directory_path() / ("skin-preview-test-" + std::to_string(std::random_device()()));
    fs::create_directories(FRoot);
  }
  void TearDown() override { fs::remove_all(FRoot); }

  int Preview(const fs::path& in, const fs::path& out, const TPreviewOptions& options = {}) {
    FOut.str("");
    FErr.str("");
    return PreviewSkin(in, out, options, FOut, FErr);
  }

  fs::path FRoot;
  std::ostringstream FOut, FErr;
};

TEST_F(SkinPreviewFiles, ADamagedContainerGivesTheReadersErrorAndNoFile) {
  const std::string stored = ReadFileBytes(KV_STORED_SKIN).value_or("");
  ASSERT_GT(stored.size(), 100u);
  std::string oversized = stored;
  oversized.replace(0, 4, "\xFF\xFF\xFF\x7F");  // declares more than any stream holds
  for (const std::string& damaged : {oversized, stored.substr(0, 4), std::string("not a skin at all")}) {
    ASSERT_TRUE(ReplaceFileContents(FRoot / "damaged.skn", damaged));
    TOpenedSkin skin;
    std::string reason;
    ASSERT_NE(skin.Open(damaged, reason), TOpenStatus::isOpened);
    EXPECT_EQ(Preview(FRoot / "damaged.skn", FRoot / "out.bmp"), 1);
    EXPECT_NE(FErr.str().find(reason), std::string::npos) << FErr.str();
    EXPECT_FALSE(fs::exists(FRoot / "out.bmp"));
  }
  EXPECT_EQ(Preview(FRoot / "absent.skn", FRoot / "out.bmp"), 1);
  EXPECT_FALSE(fs::exists(FRoot / "out.bmp"));
}

TEST_F(SkinPreviewFiles, WritesThePictureAtTheSizeAsked) {
  TPreviewOptions options;
  options.FWidth = 300;
  options.FHeight = 200;
  ASSERT_EQ(Preview(KV_STORED_SKIN, FRoot / "p.bmp", options), 0) << FErr.str();
  const auto bmp = ReadBmp(ReadFileBytes(FRoot / "p.bmp").value_or(""));
  ASSERT_TRUE(bmp.has_value());
  const TSkinPreview preview = RenderSkinPreview(StoredModel(), options);
  ASSERT_EQ(bmp->Width(), 300);
  ASSERT_EQ(bmp->Height(), 200);
  EXPECT_TRUE(std::equal(bmp->Pixels().begin(), bmp->Pixels().end(), preview.FPicture.Pixels().begin()));

  const int rc = Preview(KV_STORED_SKIN, FRoot / "p.png", options);
  if (!EncodePng(TPixelBitmap(1, 1))) {
    EXPECT_EQ(rc, 1);
    EXPECT_NE(FErr.str().find("PNG"), std::string::npos) << FErr.str();
    EXPECT_FALSE(fs::exists(FRoot / "p.png"));
    return;
  }
  ASSERT_EQ(rc, 0) << FErr.str();
  const std::string png = ReadFileBytes(FRoot / "p.png").value_or("");
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  const auto be32 = [&](std::size_t at) {
    return (std::uint32_t(std::uint8_t(png[at])) << 24) | (std::uint32_t(std::uint8_t(png[at + 1])) << 16) |
           (std::uint32_t(std::uint8_t(png[at + 2])) << 8) | std::uint8_t(png[at + 3]);
  };
  EXPECT_EQ(be32(16), 300u);  // IHDR width and height
  EXPECT_EQ(be32(20), 200u);
}

// The gallery's second skin, when it is there: its own corners and caption height.
TEST(SkinPreview, AnotherSkinGetsItsOwnCornersAndCaptionHeight) {
  const std::unique_ptr<TOpenedSkin> midnight = OpenSkin(KV_MIDNIGHT_SKIN);
  if (!midnight) GTEST_SKIP() << KV_MIDNIGHT_SKIN << " is not there";
  const TSkinPreview other = RenderSkinPreview(midnight->Model(), {});
  const TSkinPreview own = RenderSkinPreview(StoredModel(), {});
  ExpectFrameAsEngineDrawsIt(midnight->Model(), other);
  EXPECT_EQ(other.FCaptionStrip.Height(), other.FWindow.Borders.Top);
  EXPECT_EQ(own.FCaptionStrip.Height(), own.FWindow.Borders.Top);
  // The top-left corners as the two regions cut them.
  const Rect corner{0, 0, 12, 12};
  const bool sameCorners =
      CountIn(own.FPicture, corner, kPreviewDesktop) == CountIn(other.FPicture, corner, kPreviewDesktop);
  const bool sameCaption = own.FWindow.Borders.Top == other.FWindow.Borders.Top;
  EXPECT_FALSE(sameCorners && sameCaption) << "the two skins frame the window alike";
}

}  // namespace
}  // namespace kv
