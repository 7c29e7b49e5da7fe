// Popup-menu windows under a skinned form: the ring and background of the popup window,
// items painted from the MenuItem picture, owner drawing switched on and off for the
// form's popup components, and the skinned system menu, read back from the real popup
// windows while their menu loop runs.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <vector>

#include "base/win/Dc.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "framework/Subclass.h"
#include "skin/gdi/SkinGdi.h"
#include "skin/menus/WinSkinPopMenu.h"
#include "skinforms/SkinFormFixture.h"
#include "support/HandleCount.h"
#include "support/PixelCheck.h"

namespace kv::test {
namespace {

// Pixels 0x00RRGGBB; skin colours 0x00BBGGRR.
constexpr std::uint32_t kRingPixel = 0x203040;
constexpr std::uint32_t kInsidePixel = 0x5080A0;
constexpr std::uint32_t kItemPixel = 0x10A010;
constexpr std::uint32_t kSelectedPixel = 0x1010A0;
constexpr std::uint32_t kSeparatorPixel = 0xA01010;

// Steps run one per tick of a thread timer inside the menu loop, once a popup window is
// on the screen; after the last the menu is closed. Bounded: a menu that never shows is
// closed after a while, and the steps that did not run are reported.
struct TMenuProbe {
  std::vector<std::function<void(HWND popup)>> Steps;
  std::size_t Next = 0;
  int Waited = 0;
};
TMenuProbe* GProbe = nullptr;

void CALLBACK ProbeTick(HWND, UINT, UINT_PTR, DWORD) {
  if (!GProbe) return;
  HWND popup = FindWindowW(L"#32768", nullptr);
  if (popup && IsWindowVisible(popup) && ++GProbe->Waited > 2) {
    if (GProbe->Next < GProbe->Steps.size()) GProbe->Steps[GProbe->Next++](popup);
    if (GProbe->Next >= GProbe->Steps.size()) EndMenu();
  } else if (++GProbe->Waited > 150) {
    EndMenu();
  }
}

// Runs `open` (which tracks a menu) with the steps running inside its loop; true when
// all of them ran.
bool WhileMenuOpen(const std::function<void()>& open, std::vector<std::function<void(HWND)>> steps) {
  TMenuProbe probe{std::move(steps)};
  GProbe = &probe;
  const UINT_PTR timer = SetTimer(nullptr, 0, 40, ProbeTick);
  open();
  KillTimer(nullptr, timer);
  GProbe = nullptr;
  return probe.Next == probe.Steps.size();
}

// A picture whose outer three pixels are the ring colour and the rest another.
TPixelBitmap RingPicture() {
  TPixelBitmap picture(30, 30, kRingPixel);
  picture.FillRect({3, 3, 27, 27}, kInsidePixel);
  return picture;
}

// Five frames of 20 x 20: 1 normal, 2 separator, 4 selected.
TPixelBitmap ItemStrip() {
  TPixelBitmap strip(100, 20, 0x808080);
  strip.FillRect({0, 0, 20, 20}, kItemPixel);
  strip.FillRect({20, 0, 40, 20}, kSeparatorPixel);
  strip.FillRect({60, 0, 80, 20}, kSelectedPixel);
  return strip;
}

class TSkinPopupTest : public TSkinFormTest {
 protected:
  void SetUp() override {
    TSkinFormTest::SetUp();
    Data = AddSkinData();
    Data->SetSkinControls(TSkinControlTypes(TSkinControlTypes::kAllButFastReport));
    TSkinDefinition& model = Data->Model();
    model.MenuBackground->Image = RingPicture();
    model.MenuBackground->LeftWidth = model.MenuBackground->TopHeight = 5;
    model.MenuBackground->RightWidth = model.MenuBackground->BottomHeight = 5;
    model.MenuBackground->Tile = 0;
    model.MenuItem->Image = ItemStrip();
    model.MenuItem->LeftWidth = model.MenuItem->RightWidth = 2;
    model.MenuItem->TopHeight = model.MenuItem->BottomHeight = 2;
    model.MenuItem->Trans = 0;
    model.MenuItem->Tile = 0;
    Form = MakeForm();
    Popup = Form->Make<TPopupMenu>();
    Popup->Items()->Add(L"First");
    Popup->Items()->Add(L"Second");
  }

  // The popup's window, captured whole.
  static TPixelBitmap Capture(HWND popup) { return CaptureWindow(popup); }

  TSkinData* Data = nullptr;
  TForm* Form = nullptr;
  TPopupMenu* Popup = nullptr;
};

TEST_F(TSkinPopupTest, RingAndItemsComeFromTheSkinAndTheItemLearnsItsMenu) {
  TWinSkinForm* skin = ShowSkinned(Form);
  ASSERT_NE(skin, nullptr);
  ASSERT_TRUE(Popup->OwnerDraw());
  TPixelBitmap normal, selected;
  HMENU shown = nullptr;
  bool skinned = false;
  const bool ran =
      WhileMenuOpen([&] { Popup->Popup(60, 60); }, {[&](HWND popup) {
                                                      skinned = Manager().IsPopupSkinned(popup);
                                                      normal = Capture(popup);
                                                      if (TWinSkinPopMenu* p = Manager().FindPopupSkin(popup))
                                                        shown = p->Menu();
                                                      PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
                                                    },
                                                    [&](HWND) {}, [&](HWND popup) { selected = Capture(popup); }});
  ASSERT_TRUE(ran);
  EXPECT_TRUE(skinned);
  EXPECT_EQ(shown, Popup->Handle()) << "the first item painted tells the popup its menu";
  ASSERT_FALSE(normal.Empty());
  const int w = normal.Width(), h = normal.Height();
  // The ring: three pixels of the picture's edge all round.
  for (const auto& [x, y] :
       std::vector<std::pair<int, int>>{{0, 0}, {2, h / 2}, {w / 2, 1}, {w - 1, h - 1}, {w - 3, 5}})
    EXPECT_EQ(normal.Pixel(x, y), kRingPixel) << x << "," << y;
  // Items: the MenuItem frame (normal, then selected for the first) right of the text.
  EXPECT_EQ(normal.Pixel(w - 6, 5), kItemPixel);
  EXPECT_EQ(normal.Pixel(w - 6, h - 6), kItemPixel);
  ASSERT_EQ(selected.Width(), w);
  EXPECT_EQ(selected.Pixel(w - 6, 5), kSelectedPixel);
  EXPECT_EQ(selected.Pixel(w - 6, h - 6), kItemPixel);
  PumpUntil([&] { return Manager().PopupSkinCount() == 0; }, 2000);
  EXPECT_EQ(Manager().PopupSkinCount(), 0u) << "the popup skin goes with its window";
}

TEST_F(TSkinPopupTest, WithoutMenuBackgroundThePlatformFrameStays) {
  Data->Model().MenuBackground->Image = {};
  ShowSkinned(Form);
  TPixelBitmap plain, attached;
  bool skinned = true;
  Manager().SetActive(false);  // no popup skin at all
  ASSERT_TRUE(WhileMenuOpen([&] { Popup->Popup(60, 60); }, {[&](HWND popup) {
                              skinned = Manager().IsPopupSkinned(popup);
                              plain = Capture(popup);
                            }}));
  EXPECT_FALSE(skinned);
  Manager().SetActive(true);
  ASSERT_TRUE(WhileMenuOpen([&] { Popup->Popup(60, 60); }, {[&](HWND popup) {
                              skinned = Manager().IsPopupSkinned(popup);
                              attached = Capture(popup);
                            }}));
  EXPECT_TRUE(skinned) << "attached, but with nothing to draw";
  ASSERT_EQ(plain.Width(), attached.Width());
  ASSERT_EQ(plain.Height(), attached.Height());
  const int w = plain.Width(), h = plain.Height();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(attached.Pixel(i, h / 2), plain.Pixel(i, h / 2));
    EXPECT_EQ(attached.Pixel(w / 2, i), plain.Pixel(w / 2, i));
    EXPECT_EQ(attached.Pixel(w - 1 - i, h / 2), plain.Pixel(w - 1 - i, h / 2));
    EXPECT_NE(attached.Pixel(i, h / 2), kRingPixel);
  }
}

TEST_F(TSkinPopupTest, OwnerDrawingFollowsTagAndSwitchesAndTheItemsOwnHandlers) {
  auto* disabled = Form->Make<TPopupMenu>();
  disabled->SetTag(199);  // 199 modulo 100 is the DisableTag 99
  TMenuItem* plainItem = disabled->Items()->Add(L"Plain");
  TMenuItem* own = Popup->Items()->Add(L"Own");
  int ownDraws = 0, ownMeasures = 0;
  own->OnAdvancedDrawItem = [&](TMenuItem*, TCanvas&, const RECT&, TOwnerDrawState) { ++ownDraws; };
  own->OnMeasureItem = [&](TMenuItem*, TCanvas&, int&, int&) { ++ownMeasures; };
  ShowSkinned(Form);

  EXPECT_FALSE(disabled->OwnerDraw());
  EXPECT_FALSE(plainItem->OnAdvancedDrawItem);
  EXPECT_TRUE(Popup->OwnerDraw());
  EXPECT_TRUE(Popup->Items()->Items(0)->OnAdvancedDrawItem);
  EXPECT_TRUE(Popup->Items()->Items(0)->OnMeasureItem);

  // The item that draws itself still does, and measures itself too.
  TBitmap bitmap(80, 20);
  int width = 0, height = 0;
  own->MeasureItem(bitmap.Canvas(), width, height);
  own->AdvancedDrawItem(bitmap.Canvas(), {0, 0, 80, 20}, 0);
  EXPECT_EQ(ownMeasures, 1);
  EXPECT_EQ(ownDraws, 1);

  Data->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return Manager().FindFormSkin(Form->Handle()) == nullptr; }));
  EXPECT_FALSE(Popup->OwnerDraw());
  EXPECT_FALSE(own->OnAdvancedDrawItem) << "detaching clears every advanced-draw handler";
  EXPECT_TRUE(own->OnMeasureItem);
  EXPECT_FALSE(Popup->Items()->Items(0)->OnAdvancedDrawItem);
}

TEST_F(TSkinPopupTest, SystemMenuItemsFollowCaptionFlagsAndWindowState) {
  Form->SetBorderIcons(biSystemMenu | biMinimize);  // no maximise box
  TWinSkinForm* skin = ShowSkinned(Form);
  ASSERT_NE(skin, nullptr);
  TPopupMenu* system = skin->SystemPopup();
  ASSERT_NE(system, nullptr);
  std::vector<std::wstring> captions;
  std::vector<int> tags;
  for (int i = 0; i < system->Items()->Count(); ++i) {
    captions.push_back(system->Items()->Items(i)->Caption());
    tags.push_back(system->Items()->Items(i)->Tag());
  }
  EXPECT_EQ(captions, (std::vector<std::wstring>{L" Restore ", L" Minimize ", L"-", L" Close "}));
  EXPECT_EQ(tags, (std::vector<int>{0, 2, 100, 3}));
  EXPECT_TRUE(system->OwnerDraw());
  EXPECT_NE(system->Images(), nullptr);
  EXPECT_EQ(system->Items()->Items(3)->ShortCut(), ShortCut(VK_F4, scAlt)) << "the key that closes";

  // Shown from a right click on the caption: the skinned popup with its items painted
  // from the skin, Restore disabled in the normal state.
  RECT r = WindowRect(Form->Handle());
  HMENU shown = nullptr;
  TPixelBitmap picture;
  ASSERT_TRUE(WhileMenuOpen(
      [&] { SendMessageW(Form->Handle(), WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(r.left + 40, r.top + 8)); },
      {[&](HWND popup) {
        if (TWinSkinPopMenu* p = Manager().FindPopupSkin(popup)) shown = p->Menu();
        picture = Capture(popup);
      }}));
  EXPECT_EQ(shown, system->Handle());
  EXPECT_FALSE(system->Items()->Items(0)->Enabled());
  EXPECT_TRUE(system->Items()->Items(1)->Enabled());
  ASSERT_FALSE(picture.Empty());
  EXPECT_EQ(picture.Pixel(picture.Width() - 6, 5), kItemPixel) << "a framework item of another menu is skinned too";
  EXPECT_EQ(picture.Pixel(1, 1), kRingPixel);
}

TEST_F(TSkinPopupTest, TwoCaptionRightClicksWithinTheDoubleClickTimeClose) {
  TWinSkinForm* skin = ShowSkinned(Form);
  ASSERT_NE(skin, nullptr);
  int closes = 0;
  const THookToken token = SubclassWindow(Form->Handle(), [&](TMessage& m, TDefaultProc callDefault) {
    if (m.Msg == WM_CLOSE) ++closes;
    callDefault(m);
  });
  const RECT r = WindowRect(Form->Handle());
  const LPARAM at = MAKELPARAM(r.left + 40, r.top + 8);
  bool opened = false;
  WhileMenuOpen([&] { SendMessageW(Form->Handle(), WM_NCRBUTTONDOWN, HTCAPTION, at); }, {[&](HWND) { opened = true; }});
  EXPECT_TRUE(opened);
  Pump();
  EXPECT_EQ(closes, 0);
  // The second within the double-click time: no menu, the window closes.
  SendMessageW(Form->Handle(), WM_NCRBUTTONDOWN, HTCAPTION, at);
  EXPECT_EQ(FindWindowW(L"#32768", nullptr), nullptr);
  PumpUntil([&] { return closes > 0; }, 2000);
  EXPECT_EQ(closes, 1);
  UnsubclassWindow(Form->Handle(), token);
}

// The second showing closes only when both came from the mouse; and a WM_COMMAND is a
// system command only when it comes from a menu.
TEST_F(TSkinPopupTest, OnlyTheMouseClosesByASecondShowingAndOnlyMenusSendSystemCommands) {
  ASSERT_NE(ShowSkinned(Form), nullptr);
  int closes = 0;
  const THookToken token = SubclassWindow(Form->Handle(), [&](TMessage& m, TDefaultProc callDefault) {
    if (m.Msg == WM_CLOSE || (m.Msg == WM_SYSCOMMAND && (m.WParam & 0xFFF0) == SC_CLOSE)) {
      ++closes;
      return;  // the test's window stays
    }
    callDefault(m);
  });
  const RECT r = WindowRect(Form->Handle());
  const LPARAM caption = MAKELPARAM(r.left + 40, r.top + 8);
  const struct {
    const char* What;
    std::function<void()> Open;
  } showings[] = {
      {"Alt+Space", [&] { SendMessageW(Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, ' '); }},
      {"Alt+Space again at once", [&] { SendMessageW(Form->Handle(), WM_SYSCOMMAND, SC_KEYMENU, ' '); }},
      {"a right click after Alt+Space", [&] { SendMessageW(Form->Handle(), WM_NCRBUTTONDOWN, HTCAPTION, caption); }},
  };
  for (const auto& showing : showings) {
    bool opened = false;
    WhileMenuOpen(showing.Open, {[&](HWND) { opened = true; }});
    Pump();
    EXPECT_TRUE(opened) << showing.What;
    EXPECT_EQ(closes, 0) << showing.What;
  }

  auto* button = Form->Make<TButton>();
  button->SetParent(Form);
  button->SetBounds(10, 10, 60, 24);
  SendMessageW(Form->Handle(), WM_COMMAND, MAKEWPARAM(SC_CLOSE, BN_CLICKED),
               reinterpret_cast<LPARAM>(button->Handle()));
  Pump();
  EXPECT_EQ(closes, 0) << "a control whose identifier is SC_CLOSE";
  SendMessageW(Form->Handle(), WM_COMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(PumpUntil([&] { return closes == 1; }, 2000)) << "the window menu's Close";
  UnsubclassWindow(Form->Handle(), token);
}

TEST_F(TSkinPopupTest, PopupSkinsGoWithTheirWindowsWithoutHandleGrowth) {
  ShowSkinned(Form);
  // One round first: caches the system fills once.
  WhileMenuOpen([&] { Popup->Popup(60, 60); }, {[](HWND) {}});
  PumpUntil([&] { return Manager().PopupSkinCount() == 0; }, 2000);
  THandleLeakCheck leaks;
  int skinned = 0;
  for (int i = 0; i < 100; ++i) {
    WhileMenuOpen([&] { Popup->Popup(60, 60); }, {[&](HWND popup) { skinned += Manager().IsPopupSkinned(popup); }});
    Pump();
    ASSERT_EQ(Manager().PopupSkinCount(), 0u) << "round " << i;
  }
  EXPECT_EQ(skinned, 100);
  EXPECT_TRUE(leaks.NothingLeaked(4));
}

TEST_F(TSkinPopupTest, AnotherMenusItemReachingTheFormKeepsItsOwnDrawing) {
  auto* bar = Form->Make<TMainMenu>();
  bar->Items()->Add(L"&File")->Add(L"Open");
  Form->SetMenu(bar);
  TMenuItem* own = Popup->Items()->Add(L"Own");
  int draws = 0;
  own->OnAdvancedDrawItem = [&](TMenuItem*, TCanvas&, const RECT&, TOwnerDrawState) { ++draws; };
  TWinSkinForm* skin = ShowSkinned(Form);
  ASSERT_NE(skin, nullptr);
  ASSERT_NE(skin->WindowMenu(), nullptr);
  TBitmap target(60, 20);
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_MENU;
  draw.itemID = own->Command();
  draw.hwndItem = reinterpret_cast<HWND>(Popup->Handle());
  draw.hDC = target.Canvas().Handle();
  draw.rcItem = {0, 0, 60, 20};
  draw.itemData = 0x4B560000 | own->Command();
  SendMessageW(Form->Handle(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&draw));
  EXPECT_EQ(draws, 1) << "not painted as a platform item";
}

}  // namespace
}  // namespace kv::test
