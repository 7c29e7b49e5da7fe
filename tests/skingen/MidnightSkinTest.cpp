// The dark skin the gallery carries (src/gallery/res/midnight.skn), read the way the
// program reads it: the committed container is what the generator makes, and what sets
// it apart from koravent (frame geometry, corners, caption-button placement, title plate,
// control styles, colours) reaches the model and the frame's own layout code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "StoredSkins.h"
#include "skin/data/SkinImage.h"
#include "skin/data/SkinWindowFrame.h"

namespace kv {
namespace {

constexpr const char* kRegenerateMidnight =
    "the committed midnight skin is out of date; regenerate it: skingen --skin midnight DIR && "
    "skintool pack DIR src/gallery/res/midnight.skn";

// Left width, caption height, right width, bottom height, as the frame takes them.
Margins BorderWidths(const TSkinDefinition& m) {
  auto frames = [](const TDataSkinBorder& b) { return std::max(b.FrameCount, 1); };
  return {m.BorderLeft->Image.Width() / frames(*m.BorderLeft), m.BorderTop->Image.Height() / frames(*m.BorderTop),
          m.BorderRight->Image.Width() / frames(*m.BorderRight),
          m.BorderBottom->Image.Height() / frames(*m.BorderBottom)};
}

// WCAG relative luminance and contrast ratio of two colours (0x00BBGGRR).
double Luminance(TSkinColour c) {
  auto channel = [](unsigned v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * channel(c & 0xFF) + 0.7152 * channel((c >> 8) & 0xFF) + 0.0722 * channel((c >> 16) & 0xFF);
}
double Contrast(TSkinColour a, TSkinColour b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
TSkinColour ColourOfPixel(std::uint32_t p) { return ((p >> 16) & 0xFF) | (p & 0xFF00) | ((p & 0xFF) << 16); }

bool Overlap(const Rect& a, const Rect& b) {
  return a.Left < b.Right && b.Left < a.Right && a.Top < b.Bottom && b.Top < a.Bottom;
}

class MidnightSkin : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    FNight = TStoredSkin::Load(KV_MIDNIGHT_SKIN).release();
    FKoravent = TStoredSkin::Load(KV_STORED_SKIN).release();
  }
  static void TearDownTestSuite() {
    delete FNight;
    delete FKoravent;
    FNight = FKoravent = nullptr;
  }
  void SetUp() override {
    if (!FNight || !FKoravent) GTEST_SKIP() << "a container could not be read";
  }

  // A sizeable window with every caption box, active and normal.
  static FrameWindow Window(int width, int height) {
    FrameWindow w;
    w.CaptionFlags = TCaptionFlags::cfMaxBox | TCaptionFlags::cfMinBox | TCaptionFlags::cfSysMenu;
    w.Borders = BorderWidths(FNight->Model);
    w.MenuBarHeight = 19;
    w.Width = width;
    w.Height = height;
    return w;
  }

  static inline TStoredSkin* FNight = nullptr;
  static inline TStoredSkin* FKoravent = nullptr;
};

TEST(GeneratedSkin, CommittedMidnightContainerIsUpToDate) {
  ExpectCommittedSkinIsUpToDate(KV_MIDNIGHT_SKIN, skingen::TSkinName::snMidnight, kRegenerateMidnight);
}

TEST_F(MidnightSkin, FrameHasItsOwnBorderWidthsAndCaptionHeight) {
  const Margins night = BorderWidths(FNight->Model), koravent = BorderWidths(FKoravent->Model);
  EXPECT_EQ(night.Left, 5);
  EXPECT_EQ(night.Top, 26);
  EXPECT_EQ(night.Right, 5);
  EXPECT_EQ(night.Bottom, 5);
  EXPECT_NE(night.Left, koravent.Left);
  EXPECT_NE(night.Top, koravent.Top);
  EXPECT_NE(night.Right, koravent.Right);
  EXPECT_NE(night.Bottom, koravent.Bottom);
  const TSkinDefinition& m = FNight->Model;
  for (const TDataSkinBorder* edge :
       {m.BorderLeft.get(), m.BorderRight.get(), m.BorderTop.get(), m.BorderBottom.get()}) {
    SCOPED_TRACE(edge->Name);
    EXPECT_EQ(edge->FrameCount, 2);
    EXPECT_EQ(edge->Trans, 1) << "every edge is keyed";
    // Each frame divides evenly and its fixed ends fit.
    const bool vertical = edge == m.BorderTop.get() || edge == m.BorderBottom.get();
    EXPECT_EQ((vertical ? edge->Image.Height() : edge->Image.Width()) % 2, 0);
  }
}

// The region the frame sets is cut at all four corners; the lower arcs are wider than the
// sides, so the bottom piece's own ends are cut too (which only its keying can do).
TEST_F(MidnightSkin, WindowRegionIsCutAtAllFourCorners) {
  const FrameWindow w = Window(300, 200);
  for (bool active : {true, false}) {
    SCOPED_TRACE(active ? "active" : "inactive");
    FrameWindow window = w;
    window.Active = active;
    const std::vector<TRegionBatch> batches = FrameRegionRects(window, FrameSkinOf(FNight->Model), nullptr);
    auto inside = [&](int x, int y) {
      for (const TRegionBatch& b : batches)
        for (const Rect& r : b.FRects)
          if (x >= r.Left && x < r.Right && y >= r.Top && y < r.Bottom) return true;
      return false;
    };
    const int W = window.Width, H = window.Height, side = window.Borders.Left;
    for (const auto& [x, y] : {std::pair{0, 0}, {W - 1, 0}, {0, H - 1}, {W - 1, H - 1}, {1, 1}, {W - 2, H - 2}})
      EXPECT_FALSE(inside(x, y)) << "corner pixel " << x << ", " << y;
    EXPECT_FALSE(inside(side, H - 1)) << "the bottom piece's left end";
    EXPECT_FALSE(inside(W - 1 - side, H - 1)) << "the bottom piece's right end";
    EXPECT_FALSE(inside(side, 0)) << "the top piece's left end";
    for (const auto& [x, y] : {std::pair{W / 2, 0}, {W / 2, H - 1}, {0, H / 2}, {W - 1, H / 2}, {W / 2, H / 2}})
      EXPECT_TRUE(inside(x, y)) << "edge or client pixel " << x << ", " << y;
  }
}

TEST_F(MidnightSkin, CaptionButtonsSitLeftAndRightOfTheCaptionText) {
  TSkinDefinition& m = FNight->Model;
  ASSERT_EQ(m.SysButtons.size(), 9u);  // six of its own, three MDI buttons
  // The form skin gives the icon button the window's small icon when it has no picture.
  for (auto& b : m.SysButtons)
    if (b->Action == 3 && b->Image.Empty()) {
      b->Image = TPixelBitmap(16, 16, PixelOf(kKeyColor));
      b->FrameCount = 1;
    }
  FrameWindow w = Window(400, 300);
  const Margins& borders = w.Borders;
  const Rect strip{borders.Left, 0, w.Width - borders.Right, borders.Top};
  const CaptionPlacement placement = PlaceCaption(strip, {120, 14}, *m.Title, w, 0);
  const ButtonLayout layout = LayoutButtons(FrameSkinOf(m), w, placement.Text, {});
  ASSERT_EQ(layout.Buttons.size(), m.SysButtons.size());

  std::vector<Rect> shown;
  int left = 0, right = 0;
  for (std::size_t i = 0; i < m.SysButtons.size(); ++i) {
    const TDataSkinSysButton& b = *m.SysButtons[i];
    const ButtonPlace& place = layout.Buttons[i];
    SCOPED_TRACE(b.Name + " action " + std::to_string(b.Action));
    if (b.Visibility == 100) {
      EXPECT_FALSE(place.Visible) << "MDI buttons wait for a maximised child";
      continue;
    }
    if (b.Visibility == 1) {  // restore: only when maximised
      EXPECT_FALSE(place.Visible);
      continue;
    }
    ASSERT_TRUE(place.Visible);
    const Rect& r = place.Bounds;
    EXPECT_GE(r.Top, 1) << "below the caption's outline";
    EXPECT_LE(r.Bottom, borders.Top - 1) << "above the caption's bottom line";
    if (b.Align == 2 || b.Align == 8) {
      ++left;
      EXPECT_GE(r.Left, borders.Left + 2) << "clear of the rounded corner";
      EXPECT_LE(r.Right, placement.Text.Left);
    } else {
      EXPECT_EQ(b.Align, 1);
      ++right;
      EXPECT_GE(r.Left, placement.Text.Right);
      EXPECT_LE(r.Right, w.Width - borders.Right - 2);
    }
    for (const Rect& other : shown) EXPECT_FALSE(Overlap(r, other));
    shown.push_back(r);
  }
  EXPECT_EQ(left, 2) << "the icon and the menu chevron";
  EXPECT_EQ(right, 3) << "close, maximise, minimise";

  // With a maximised MDI child the three MDI buttons show in the menu bar, apart.
  w.ActiveMdiChildMaximized = true;
  const ButtonLayout mdi = LayoutButtons(FrameSkinOf(m), w, placement.Text, layout);
  std::vector<Rect> cells;
  for (std::size_t i = 0; i < m.SysButtons.size(); ++i) {
    if (m.SysButtons[i]->Visibility != 100) continue;
    EXPECT_EQ(m.SysButtons[i]->Align, 100);
    ASSERT_TRUE(mdi.Buttons[i].Visible);
    const Rect& r = mdi.Buttons[i].Bounds;
    EXPECT_GE(r.Top, borders.Top);
    EXPECT_LE(r.Bottom, borders.Top + w.MenuBarHeight);
    EXPECT_LE(r.Right, w.Width - borders.Right);
    for (const Rect& other : cells) EXPECT_FALSE(Overlap(r, other));
    cells.push_back(r);
  }
  EXPECT_EQ(cells.size(), 3u);
}

// The plate is drawn behind the text in both window states, keyed into the caption:
// outside its ends the caption is untouched and no magenta is left behind the text.
TEST_F(MidnightSkin, TitlePlateLiesBehindTheCaptionText) {
  const TSkinDefinition& m = FNight->Model;
  ASSERT_FALSE(m.Title->Image.Empty());
  EXPECT_EQ(m.Title->Image.Height(), 2 * BorderWidths(m).Top) << "two stacked frames of the caption's height";
  std::uint32_t plateCentre[2] = {};
  for (bool active : {true, false}) {
    SCOPED_TRACE(active ? "active" : "inactive");
    FrameWindow w = Window(400, 300);
    w.Active = active;
    const Rect strip{w.Borders.Left, 0, w.Width - w.Borders.Right, w.Borders.Top};
    const CaptionPlacement placement = PlaceCaption(strip, {120, 14}, *m.Title, w, 0);
    FrameSkin bare = FrameSkinOf(m), titled = bare;
    bare.Title = nullptr;
    TPixelBitmap plain(w.Width, w.Borders.Top), caption(w.Width, w.Borders.Top);
    DrawCaptionBackground(plain, bare, w, placement);
    DrawCaptionBackground(caption, titled, w, placement);
    const int cx = (placement.Back.Left + placement.Back.Right) / 2, cy = w.Borders.Top / 2;
    EXPECT_NE(caption.Pixel(cx, cy), plain.Pixel(cx, cy)) << "the plate shows behind the text";
    EXPECT_EQ(caption.Pixel(placement.Back.Left, 0), plain.Pixel(placement.Back.Left, 0)) << "its corner is keyed";
    EXPECT_EQ(caption.Pixel(placement.Back.Right + 4, cy), plain.Pixel(placement.Back.Right + 4, cy));
    // (The strip's own corners keep their magenta: the region is cut from it.)
    for (int y = placement.Back.Top; y < placement.Back.Bottom; ++y)
      for (int x = placement.Back.Left; x < placement.Back.Right; ++x)
        ASSERT_NE(caption.Pixel(x, y), PixelOf(kKeyColor)) << x << ", " << y;
    // The caption text stays readable on it.
    const TSkinColour text = active ? m.Title->ActiveTextColour : m.Title->InactiveTextColour;
    EXPECT_GE(Contrast(text, ColourOfPixel(caption.Pixel(cx, cy))), active ? 4.5 : 3.0);
    plateCentre[active ? 0 : 1] = caption.Pixel(cx, cy);
  }
  EXPECT_NE(plateCentre[0], plateCentre[1]) << "active and inactive plates differ";
}

TEST_F(MidnightSkin, ControlStylesAndFrameCountsTheReaderTakes) {
  const TSkinDefinition& m = FNight->Model;
  // Chunked progress: the chunk carries its own gap (a keyed last column).
  ASSERT_TRUE(m.Progress);
  EXPECT_EQ(m.Progress->Style, 1);
  const TPixelBitmap& chunk = m.Progress->Image2;
  ASSERT_FALSE(chunk.Empty());
  const std::uint32_t key = PixelOf(kKeyColor);
  for (int y = 0; y < chunk.Height(); ++y) {
    EXPECT_EQ(chunk.Pixel(chunk.Width() - 1, y), key);
    EXPECT_NE(chunk.Pixel(chunk.Width() / 3, y), key);
  }
  // The flat combo look draws no arrow picture over its button: each frame holds one.
  ASSERT_TRUE(m.ComboButton);
  EXPECT_EQ(m.ComboButton->Style, 1);
  EXPECT_EQ(m.ComboButton->FrameCount, 4);
  const int comboFrame = m.ComboButton->Image.Width() / 4;
  for (int f = 0; f < 4; ++f) {
    const int x = f * comboFrame + comboFrame / 2 + 1;
    std::set<std::uint32_t> column;
    for (int y = 0; y < m.ComboButton->Image.Height(); ++y) column.insert(m.ComboButton->Image.Pixel(x, y));
    EXPECT_GE(column.size(), 3u) << "frame " << f + 1 << " has its arrow";
  }
  // Two scroll-thumb frames (at rest, dragged) where koravent has three.
  for (const auto& [night, koravent] : {std::pair{m.HorzScrollThumb.get(), FKoravent->Model.HorzScrollThumb.get()},
                                        {m.VertScrollThumb.get(), FKoravent->Model.VertScrollThumb.get()}}) {
    ASSERT_TRUE(night);
    EXPECT_EQ(night->FrameCount, 2);
    EXPECT_NE(night->FrameCount, koravent->FrameCount);
    const int fw = night->Image.Width() / 2;
    EXPECT_EQ(night->Image.Width(), 2 * fw);
    bool differ = false;
    for (int y = 0; y < night->Image.Height() && !differ; ++y)
      for (int x = 0; x < fw && !differ; ++x) differ = night->Image.Pixel(x, y) != night->Image.Pixel(fw + x, y);
    EXPECT_TRUE(differ) << "the dragged thumb looks different";
  }
  // Popup menus, tab page frame and the up-down arrows are skinned.
  ASSERT_TRUE(m.MenuBackground && m.MenuItem);
  EXPECT_EQ(m.MenuBackground->FrameCount, 1);
  EXPECT_EQ(m.MenuItem->FrameCount, 5);
  EXPECT_EQ(m.MenuItem->Image.Width() % 5, 0);
  ASSERT_TRUE(m.Tabs);
  EXPECT_EQ(m.Tabs->Image2.Width(), 29);
  EXPECT_EQ(m.Tabs->Image2.Height(), 28);
  for (const TDataSkinBorder* upDown : {m.UpDownHorz.get(), m.UpDownVert.get()}) {
    ASSERT_TRUE(upDown);
    EXPECT_FALSE(upDown->Image2.Empty());
    EXPECT_EQ(upDown->Image2.Width() % 8, 0);
  }
}

// Dark faces, light text: every text colour the reader takes reads well on what it is
// drawn over, and none is left to the platform.
TEST_F(MidnightSkin, DarkFacesCarryLightText) {
  const TSkinDefinition& m = FNight->Model;
  const TSkinColours& c = m.Colours;
  EXPECT_LT(Luminance(c.ButtonFaceColour), 0.05);
  EXPECT_GT(Luminance(FKoravent->Model.Colours.ButtonFaceColour), 0.5);
  const struct {
    const char* Name;
    TSkinColour Text, Back;
    double Least;  // contrast ratio
  } pairs[] = {
      {"ButtonText", c.ButtonTextColour, c.ButtonFaceColour, 4.5},
      {"WindowText", c.WindowTextColour, c.ButtonFaceColour, 4.5},
      {"MenuText", c.MenuTextColour, c.MenuColour, 4.5},
      {"MenuBarText", c.MenuBarTextColour, c.MenubarColour, 4.5},
      {"HilightText", c.HilightTextColour, c.HilightColour, 4.5},
      {"TitleTextActive", c.TitleTextActiveColour, ColourOfPixel(m.BorderTop->Image.Pixel(150, 13)), 4.5},
      {"title's active text", m.Title->ActiveTextColour, ColourOfPixel(m.BorderTop->Image.Pixel(150, 13)), 4.5},
      {"ButtonShadow (disabled text)", c.ButtonShadowColour, c.ButtonFaceColour, 3.0},
  };
  for (const auto& p : pairs) {
    SCOPED_TRACE(p.Name);
    EXPECT_FALSE(IsSystemColour(p.Text));
    EXPECT_GE(Contrast(p.Text, p.Back), p.Least);
  }
  EXPECT_GE(Contrast(m.Title->InactiveTextColour, ColourOfPixel(m.BorderTop->Image.Pixel(150, 26 + 13))), 3.0);
  // The element caption colours (buttons, tabs, headers ...) as the records hold them.
  std::vector<const TDataSkinObject*> records{m.Buttons.get(), m.Tabs.get(), m.ComboButton.get(), m.UpDownHorz.get(),
                                              m.UpDownVert.get()};
  for (const TNamedRecord& r : m.PlainRecords())
    if (r.Record) records.push_back(r.Record);
  for (const TDataSkinObject* r : records) {
    SCOPED_TRACE(r->Name);
    for (TSkinColour text : {r->NormalColour2, r->MouseOverColour2, r->PressedColour2})
      EXPECT_GE(Contrast(text, c.ButtonFaceColour), 4.5);
  }
}

// Pictures drawn without a key must hold no magenta; the keyed ones are keyed.
TEST_F(MidnightSkin, MagentaOnlyWhereItIsTransparent) {
  const TSkinDefinition& m = FNight->Model;
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
      {"UpDownVert", &m.UpDownVert->Image},
  };
  for (const auto& [field, bitmap] : opaque) EXPECT_FALSE(keyed(*bitmap)) << field;
  for (const auto& [field, bitmap] : {std::pair{"BorderLeft", &m.BorderLeft->Image},
                                      {"BorderRight", &m.BorderRight->Image},
                                      {"BorderTop", &m.BorderTop->Image},
                                      {"BorderBottom", &m.BorderBottom->Image},
                                      {"Title", &m.Title->Image},
                                      {"Progress", &m.Progress->Image}})
    EXPECT_TRUE(keyed(*bitmap)) << field;
}

}  // namespace
}  // namespace kv
