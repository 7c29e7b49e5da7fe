// Tab headers painted from the skin under Wine: the platform's tab control on all four
// sides (bare, and inside the framework's page and tab controls), the page frame from the
// Border picture, the scroll arrows left visible, and the tab set with its scroller.
// Each tab is read back and compared with its frame rendered by the portable painters.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "SkinTestFixture.h"
#include "framework/ComCtrls.h"
#include "framework/TabCtrls.h"
#include "skin/controls/SkinTabs.h"
#include "support/HandleCount.h"
#include "support/PlatformImageList.h"
#include "support/TestPictures.h"

namespace kv {
namespace {

using test::CaptureClient;
using test::PixelsMatch;
using test::PixelsMatchAt;

constexpr int kCell = 10, kEdge = 3;
// Per frame: the top row, the other edges, the inside. Frames 3 to 5 must never show.
constexpr std::uint32_t kTop[5] = {0x200000, 0x002000, 0x000020, 0x202000, 0x002020};
constexpr std::uint32_t kSides[5] = {0x804020, 0x208040, 0x402080, 0x808000, 0x008080};
constexpr std::uint32_t kInside[5] = {0xE0C0A0, 0xA0E0C0, 0xC0A0E0, 0xE0E000, 0x00E0E0};
constexpr std::uint32_t kNormalText = 0x000080, kSelectedText = 0x800000;

// The page frame: a marked top-left corner and top edge, so turning it shows.
TPixelBitmap BorderPicture() {
  TPixelBitmap border(12, 13, 0x4080C0);
  border.FillRect({0, 0, 12, 5}, 0xC08040);
  border.FillRect({0, 0, 4, 5}, 0x40C080);
  border.FillRect({4, 5, 8, 9}, 0x101010);  // the inside, never drawn
  return border;
}

Rect Intersect(const Rect& a, const Rect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

TPixelBitmap Crop(const TPixelBitmap& source, const Rect& area) {
  TPixelBitmap part(area.Width(), area.Height(), 0);
  CopyPixels(part, 0, 0, source, area);
  return part;
}

RECT ItemRect(HWND tabs, int index) {
  RECT r{};
  SendMessageW(tabs, TCM_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
  return r;
}

// A form skin whose control skins can all be freed between rounds.
class TRoundHost : public test::TFakeHost {
 public:
  void FreeSkins() {
    Skins.clear();
    DestroyComponents();
  }
};

class SkinTabsTest : public test::TSkinnedFormTest {
 protected:
  void SetUp() override {
    test::TSkinnedFormTest::SetUp();
    auto tabs = std::make_unique<TDataSkinBorder>();
    tabs->Image = TPixelBitmap(5 * kCell, kCell, 0);
    for (int k = 0; k < 5; ++k) {
      tabs->Image.FillRect({k * kCell, 0, (k + 1) * kCell, kCell}, kSides[k]);
      tabs->Image.FillRect({k * kCell + kEdge, kEdge, (k + 1) * kCell - kEdge, kCell - kEdge}, kInside[k]);
      tabs->Image.FillRect({k * kCell, 0, (k + 1) * kCell, 1}, kTop[k]);
      tabs->Image.SetPixel(k * kCell + kCell / 2, kCell / 2, test::kMagentaPixel);
    }
    tabs->LeftWidth = tabs->TopHeight = tabs->RightWidth = tabs->BottomHeight = kEdge;
    tabs->FrameCount = 5;
    tabs->Trans = 1;
    tabs->NormalColour2 = ColorOf(kNormalText);
    tabs->MouseOverColour2 = ColorOf(kSelectedText);
    tabs->Image2 = BorderPicture();
    Model().Tabs = std::move(tabs);
  }

  // Frame `frame` as a tab of `width` x `height` on `side` shows it: the strip flipped for
  // tabs at the bottom; for the left and right composed lying down and turned.
  TPixelBitmap ExpectedTab(TTabSide side, int width, int height, int frame) {
    TPixelBitmap strip = Model().Tabs->Image;
    if (side == TTabSide::tsBottom) FlipVertical(strip);
    const bool lying = side == TTabSide::tsLeft || side == TTabSide::tsRight;
    TPixelBitmap tab(lying ? height : width, lying ? width : height, Face());
    DrawSkinImage(tab, tab.Bounds(), strip, TDrawFlags::dfTransparent, 5, frame, Model().Tabs->GetMargins());
    if (side == TTabSide::tsLeft) RotateLeft(tab);
    if (side == TTabSide::tsRight) RotateRight(tab);
    return tab;
  }

  // Where the tab of item rectangle r lands: one pixel toward the page on top, one away
  // from it at the bottom and on the right.
  static Rect TabPlace(TTabSide side, const RECT& r) {
    Rect place{r.left, r.top, r.right, r.bottom};
    const int dy = side == TTabSide::tsTop ? 1 : side == TTabSide::tsLeft ? 0 : -1;
    return {place.Left, place.Top + dy, place.Right, place.Bottom + dy};
  }

  // The page area the frame goes around, and the strip of tabs beside it.
  static std::pair<Rect, Rect> PageAndStrip(HWND wnd, TTabSide side) {
    RECT client;
    GetClientRect(wnd, &client);
    RECT page = client;
    SendMessageW(wnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
    InflateRect(&page, 4, 4);
    Rect strip{client.left, client.top, client.right, client.bottom};
    switch (side) {
      case TTabSide::tsTop: strip.Bottom = ++page.top; break;
      case TTabSide::tsBottom: strip.Top = --page.bottom; break;
      case TTabSide::tsLeft: strip.Right = ++page.left; break;
      case TTabSide::tsRight: strip.Left = --page.right; break;
    }
    return {Rect{page.left, page.top, page.right, page.bottom}, strip};
  }

  // Each tab of `wnd` shows its frame (2 for `selected`) inside the strip (left of `right`
  // when given); with `ring`, only that many pixels along its edges, where no text reaches.
  ::testing::AssertionResult TabsShowFrames(HWND wnd, TTabSide side, int selected, int ring = 0, int right = 0) {
    const TPixelBitmap shown = CaptureClient(wnd);
    Rect strip = PageAndStrip(wnd, side).second;
    if (right > 0) strip.Right = std::min(strip.Right, right);
    const int count = int(SendMessageW(wnd, TCM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
      const RECT r = ItemRect(wnd, i);
      const Rect place = TabPlace(side, r);
      const TPixelBitmap tab = ExpectedTab(side, r.right - r.left, r.bottom - r.top, i == selected ? 2 : 1);
      std::vector<Rect> parts;
      if (ring == 0) {
        parts.push_back(place);
      } else {
        parts = {{place.Left, place.Top, place.Right, place.Top + ring},
                 {place.Left, place.Bottom - ring, place.Right, place.Bottom},
                 {place.Left, place.Top, place.Left + ring, place.Bottom},
                 {place.Right - ring, place.Top, place.Right, place.Bottom}};
      }
      for (const Rect& part : parts) {
        const Rect area = Intersect(part, strip);
        if (area.Width() <= 0 || area.Height() <= 0) continue;
        const Rect inTab{area.Left - place.Left, area.Top - place.Top, area.Right - place.Left,
                         area.Bottom - place.Top};
        auto result = PixelsMatchAt(Crop(tab, inTab), shown, area, "tab" + std::to_string(i));
        if (!result) return result << " (tab " << i << ", side " << int(side) << ")";
      }
    }
    return ::testing::AssertionSuccess();
  }

  // The frame's eight pieces around the page, the Border picture turned with the tabs.
  ::testing::AssertionResult PageFrameShown(HWND wnd, TTabSide side) {
    const TPixelBitmap shown = CaptureClient(wnd);
    TPixelBitmap border = Model().Tabs->Image2;
    if (side == TTabSide::tsBottom) FlipVertical(border);
    if (side == TTabSide::tsLeft) RotateLeft(border);
    if (side == TTabSide::tsRight) RotateRight(border);
    TPixelBitmap expected = shown;
    DrawNineSliceBorder(expected, PageAndStrip(wnd, side).first, border, false, 1, 1, Margins{4, 5, 4, 4});
    // Child windows (a page control's sheet) are clipped out of the control's painting.
    RECT own;
    GetWindowRect(wnd, &own);
    for (HWND child = GetWindow(wnd, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      RECT r;
      if (!IsWindowVisible(child) || !GetWindowRect(child, &r)) continue;
      OffsetRect(&r, -own.left, -own.top);
      CopyPixels(expected, r.left, r.top, shown, {r.left, r.top, r.right, r.bottom});
    }
    return PixelsMatch(expected, shown, "page" + std::to_string(int(side)));
  }

  void Repaint(HWND wnd) {
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    test::Pump();
  }

  // A bare tab control of three fixed-size tabs without text (so every pixel is the skin's).
  TWindowHandle BareTabs(DWORD style, int selected) {
    TWindowHandle wnd = Child(WC_TABCONTROLW, L"", TCS_FIXEDWIDTH | style, 20, 20, 260, 180);
    SendMessageW(wnd.Get(), TCM_SETITEMSIZE, 0, MAKELPARAM(50, 22));
    for (int i = 0; i < 3; ++i) {
      TCITEMW item{};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<wchar_t*>(L"");
      SendMessageW(wnd.Get(), TCM_INSERTITEMW, WPARAM(i), reinterpret_cast<LPARAM>(&item));
    }
    SendMessageW(wnd.Get(), TCM_SETCURSEL, WPARAM(selected), 0);
    return wnd;
  }
};

TEST_F(SkinTabsTest, StyleDecidesTheSide) {
  EXPECT_EQ(TabSideOfStyle(0), TTabSide::tsTop);
  EXPECT_EQ(TabSideOfStyle(TCS_BOTTOM), TTabSide::tsBottom);
  EXPECT_EQ(TabSideOfStyle(TCS_VERTICAL), TTabSide::tsLeft);
  EXPECT_EQ(TabSideOfStyle(TCS_VERTICAL | TCS_RIGHT), TTabSide::tsRight);
}

TEST_F(SkinTabsTest, BareTabControlShowsNormalAndSelectedFramesAndThePageFrameOnEverySide) {
  ShowForm();
  const struct {
    DWORD Style;
    TTabSide Side;
  } cases[] = {{0, TTabSide::tsTop},
               {TCS_BOTTOM, TTabSide::tsBottom},
               {TCS_VERTICAL | TCS_MULTILINE, TTabSide::tsLeft},
               {TCS_VERTICAL | TCS_RIGHT | TCS_MULTILINE, TTabSide::tsRight}};
  for (const auto& c : cases) {
    SCOPED_TRACE(int(c.Side));
    TWindowHandle wnd = BareTabs(c.Style, 1);
    auto* skin = Host->Make<TSkinTab>();
    skin->AttachWindow(wnd.Get(), Data, &Canvas);
    EXPECT_EQ(skin->Orientation(), c.Side);
    Repaint(wnd.Get());
    EXPECT_TRUE(TabsShowFrames(wnd.Get(), c.Side, 1));
    EXPECT_TRUE(PageFrameShown(wnd.Get(), c.Side));
    wnd.Reset();
  }
}

TEST_F(SkinTabsTest, WithoutTabsPictureTheControlKeepsItsOwnLook) {
  ShowForm();
  TWindowHandle wnd = BareTabs(0, 0);
  Repaint(wnd.Get());
  const TPixelBitmap platform = CaptureClient(wnd.Get());
  Model().Tabs.reset();
  auto* skin = Host->Make<TSkinTab>();
  skin->AttachWindow(wnd.Get(), Data, &Canvas);
  Repaint(wnd.Get());
  EXPECT_TRUE(PixelsMatch(platform, CaptureClient(wnd.Get()), "unskinned"));
}

TEST_F(SkinTabsTest, TabImagesFromAListThePlatformMade) {
  constexpr std::uint32_t kImage = 0xE01010;
  ShowForm();
  TWindowHandle wnd = BareTabs(0, 0);
  const TImageListHandle images = test::PlatformImageList(16, kImage);
  SendMessageW(wnd.Get(), TCM_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.Get()));
  TCITEMW item{};
  item.mask = TCIF_IMAGE;
  item.iImage = 0;
  SendMessageW(wnd.Get(), TCM_SETITEMW, 1, reinterpret_cast<LPARAM>(&item));
  auto* skin = Host->Make<TSkinTab>();
  skin->AttachWindow(wnd.Get(), Data, &Canvas);
  Repaint(wnd.Get());
  const TPixelBitmap shown = CaptureClient(wnd.Get());
  EXPECT_EQ(testing::CountIn(shown, TabPlace(TTabSide::tsTop, ItemRect(wnd.Get(), 1)), kImage), 256);
  EXPECT_EQ(testing::CountIn(shown, TabPlace(TTabSide::tsTop, ItemRect(wnd.Get(), 0)), kImage), 0);
  skin->Detach();
  wnd.Reset();
}

// A new skin with tabs but no page frame: the tabs show its strip.
TEST_F(SkinTabsTest, ASkinChangeToTabsWithoutABorderShowsTheNewTabs) {
  ShowForm();
  TWindowHandle wnd = BareTabs(0, 1);
  auto* skin = Host->Make<TSkinTab>();
  skin->AttachWindow(wnd.Get(), Data, &Canvas);
  Repaint(wnd.Get());
  ASSERT_TRUE(TabsShowFrames(wnd.Get(), TTabSide::tsTop, 1));
  for (std::uint32_t& p : Model().Tabs->Image.Pixels())
    if (p != test::kMagentaPixel) p ^= 0x404040;
  Model().Tabs->Image2 = TPixelBitmap();
  skin->SkinChanged();
  Repaint(wnd.Get());
  EXPECT_TRUE(TabsShowFrames(wnd.Get(), TTabSide::tsTop, 1));
}

TEST_F(SkinTabsTest, PageControlTabsFollowTheSelectionAndAClickSelectsOnce) {
  auto* pages = Add<TPageControl>(10, 10, 280, 200);
  for (const wchar_t* caption : {L"One", L"Two", L"Three"}) {
    auto* sheet = Form->Make<TTabSheet>();
    sheet->SetCaption(caption);
    sheet->SetPageControl(pages);
  }
  pages->SetActivePageIndex(0);
  int changes = 0;
  pages->OnChange = [&](TComponent*) { ++changes; };
  ShowForm();
  HWND wnd = pages->Handle();
  HideFocusCues();  // a mouse user's look: the faces alone
  auto* skin = Host->Make<TSkinTab>();
  skin->AttachWindow(wnd, Data, &Canvas);
  Repaint(wnd);
  EXPECT_TRUE(TabsShowFrames(wnd, TTabSide::tsTop, 0, kEdge));
  EXPECT_TRUE(PageFrameShown(wnd, TTabSide::tsTop));

  ClickAt(wnd, ItemRect(wnd, 2));
  ASSERT_TRUE(test::PumpUntil([&] { return pages->ActivePageIndex() == 2; }));
  EXPECT_EQ(changes, 1);
  Repaint(wnd);
  EXPECT_TRUE(TabsShowFrames(wnd, TTabSide::tsTop, 2, kEdge)) << "the new selection has frame 2";
}

TEST_F(SkinTabsTest, TabControlTextsKeepTheTabFramesOnEverySide) {
  ShowForm();
  for (const TTabPosition position : {tpTop, tpBottom, tpLeft, tpRight}) {
    SCOPED_TRACE(int(position));
    auto* tabs = Add<TTabControl>(10, 10, 280, 200);
    for (const wchar_t* text : {L"Alpha", L"Beta", L"Gamma"}) tabs->Tabs().Add(text);
    tabs->SetTabPosition(position);
    tabs->SetTabIndex(1);
    const HWND wnd = tabs->Handle();
    auto* skin = Host->Make<TSkinTab>();
    skin->AttachWindow(wnd, Data, &Canvas);
    const TTabSide side = TTabSide(int(position));
    ASSERT_EQ(skin->Orientation(), side);
    Repaint(wnd);
    EXPECT_TRUE(TabsShowFrames(wnd, side, 1, kEdge));
    EXPECT_TRUE(PageFrameShown(wnd, side));
    // The selected tab's text is in the selected colour (text is smoothed: some pixel).
    const TPixelBitmap shown = CaptureClient(wnd);
    const RECT selected = ItemRect(wnd, 1), other = ItemRect(wnd, 0);
    auto hasColour = [&](const RECT& r, std::uint32_t colour) {
      for (int y = std::max<int>(r.top, 0); y < r.bottom && y < shown.Height(); ++y)
        for (int x = std::max<int>(r.left, 0); x < r.right && x < shown.Width(); ++x)
          if (shown.Pixel(x, y) == colour) return true;
      return false;
    };
    EXPECT_TRUE(hasColour(selected, kSelectedText));
    EXPECT_FALSE(hasColour(selected, kNormalText));
    EXPECT_TRUE(hasColour(other, kNormalText));
    tabs->SetVisible(false);  // out of the next one's way
  }
}

TEST_F(SkinTabsTest, ScrollArrowsGetTheirSkinAndAreNotPaintedOver) {
  ShowForm();
  TWindowHandle wnd = Child(WC_TABCONTROLW, L"", 0, 20, 20, 160, 120);
  for (int i = 0; i < 10; ++i) {
    std::wstring text = L"Tab number " + std::to_wstring(i);
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text.data();
    SendMessageW(wnd.Get(), TCM_INSERTITEMW, WPARAM(i), reinterpret_cast<LPARAM>(&item));
  }
  Repaint(wnd.Get());
  const HWND arrows = FindWindowExW(wnd.Get(), nullptr, UPDOWN_CLASSW, nullptr);
  ASSERT_NE(arrows, nullptr) << "ten tabs do not fit";
  auto* skin = Host->Make<TSkinTab>();
  skin->AttachWindow(wnd.Get(), Data, &Canvas);
  ASSERT_NE(skin->UpDown(), nullptr);
  EXPECT_EQ(skin->UpDown()->Kind(), TControlSkinKind::skUpDown);
  EXPECT_EQ(skin->UpDown()->Handle(), arrows);
  Repaint(wnd.Get());
  RECT arrowRect, own;
  GetWindowRect(arrows, &arrowRect);
  GetWindowRect(wnd.Get(), &own);
  OffsetRect(&arrowRect, -own.left, -own.top);
  const TPixelBitmap shown = CaptureClient(wnd.Get());
  EXPECT_TRUE(PixelsMatchAt(CaptureClient(arrows), shown,
                            {arrowRect.left, arrowRect.top, arrowRect.right, arrowRect.bottom}, "arrows"));
  EXPECT_TRUE(TabsShowFrames(wnd.Get(), TTabSide::tsTop, 0, 2, arrowRect.left)) << "the tabs beside them are skinned";
}

TEST_F(SkinTabsTest, TabSetShowsFramesWhereItsTabsAreAndAClickSelectsOnce) {
  auto* set = Add<TTabSet>(10, 10, 300, 24);
  for (const wchar_t* tab : {L"One", L"Two", L"Three"}) set->Tabs().Add(tab);
  set->SetTabIndex(0);
  int changes = 0;
  set->OnChange = [&](TComponent*) { ++changes; };
  ShowForm();
  auto* skin = Host->Make<TSkinTab31>();
  skin->AttachControl(set, Data, false, &Canvas);
  ASSERT_NE(skin->UpDown(), nullptr);
  EXPECT_EQ(skin->UpDown()->Handle(), set->Scroller()->Handle());
  const HWND wnd = set->Handle();

  auto framesShown = [&](int selected) -> ::testing::AssertionResult {
    const TPixelBitmap shown = CaptureClient(wnd);
    TPixelBitmap strip = Model().Tabs->Image;
    FlipVertical(strip);  // the tabs hang down
    for (int i = 0; i < set->Tabs().Count(); ++i) {
      const RECT r = set->TabRect(i);
      const Rect place{r.left, 0, r.right, shown.Height()};
      TPixelBitmap tab(place.Width(), place.Height(), Face());
      DrawSkinImage(tab, tab.Bounds(), strip, TDrawFlags::dfTransparent, 5, i == selected ? 2 : 1,
                    Model().Tabs->GetMargins());
      for (const Rect& part :
           {Rect{0, 0, kEdge, place.Height()}, Rect{place.Width() - kEdge, 0, place.Width(), place.Height()}}) {
        auto result = PixelsMatchAt(Crop(tab, part), shown,
                                    {place.Left + part.Left, part.Top, place.Left + part.Right, part.Bottom},
                                    "set" + std::to_string(i));
        if (!result) return result << " (tab " << i << ")";
      }
    }
    return ::testing::AssertionSuccess();
  };
  Repaint(wnd);
  EXPECT_TRUE(framesShown(0));
  ClickAt(wnd, set->TabRect(2));
  EXPECT_EQ(set->TabIndex(), 2);
  EXPECT_EQ(changes, 1);
  Repaint(wnd);
  EXPECT_TRUE(framesShown(2));
}

// With the scroller shown the tabs end at the first one that does not fit, where the tab
// set ends them: the face alone between the last of them and the scroller.
TEST_F(SkinTabsTest, TabSetWithItsScrollerShowsOnlyTheTabsInView) {
  auto* set = Add<TTabSet>(10, 10, 220, 24);
  for (const wchar_t* tab : {L"One", L"Two", L"A caption far too long to fit here", L"X", L"Y"}) set->Tabs().Add(tab);
  set->SetTabIndex(0);
  ShowForm();
  auto* skin = Host->Make<TSkinTab31>();
  skin->AttachControl(set, Data, false, &Canvas);
  const HWND wnd = set->Handle();
  Repaint(wnd);
  ASSERT_TRUE(IsWindowVisible(set->Scroller()->Handle()));
  ASSERT_GT(set->VisibleTabs(), 0);
  ASSERT_LT(set->VisibleTabs(), set->Tabs().Count());
  const TPixelBitmap shown = CaptureClient(wnd);
  const int lastRight = set->TabRect(set->FirstIndex() + set->VisibleTabs() - 1).right;
  const Rect gap{lastRight, 0, set->Scroller()->Left(), shown.Height()};
  ASSERT_GT(gap.Width(), 0);
  EXPECT_TRUE(PixelsMatchAt(TPixelBitmap(gap.Width(), gap.Height(), Face()), shown, gap, "after the last tab"));
}

TEST_F(SkinTabsTest, AttachPaintAndDetachRoundsKeepHandlesLevel) {
  ShowForm();
  auto* set = Add<TTabSet>(10, 150, 300, 24);
  for (const wchar_t* tab : {L"One", L"Two"}) set->Tabs().Add(tab);
  auto* host = Form->Make<TRoundHost>();
  auto round = [&] {
    TWindowHandle wnd = BareTabs(TCS_BOTTOM, 2);
    auto* tabSkin = host->Make<TSkinTab>();
    tabSkin->AttachWindow(wnd.Get(), Data, &Canvas);
    auto* setSkin = host->Make<TSkinTab31>();
    setSkin->AttachControl(set, Data, false, &Canvas);
    Repaint(wnd.Get());
    Repaint(set->Handle());
    tabSkin->SkinChanged();
    Repaint(wnd.Get());
    host->FreeSkins();
    wnd.Reset();
  };
  round();  // warm-up: caches that fill once
  const test::THandleLeakCheck check;
  for (int i = 0; i < 5; ++i) round();
  EXPECT_TRUE(check.NothingLeaked());
}

}  // namespace
}  // namespace kv
