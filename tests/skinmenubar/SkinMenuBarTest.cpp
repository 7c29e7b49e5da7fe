// The skinned menu bar: what the bar shows (read back from the screen), what its buttons
// do when pressed, the menu loop while the platform tracks a drop-down (driven by keys
// and the mouse from a timer that runs inside the platform's modal loop), keyboard
// access, giving the menu back, and a maximised MDI child's buttons on the frame's bar.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "ModalLoopDriver.h"
#include "SkinFormFixture.h"
#include "framework/Menus.h"
#include "skin/data/SkinDefinition.h"
#include "skin/data/SkinImage.h"
#include "skin/gdi/SkinGdi.h"
#include "skin/menus/SkinMenuItems.h"
#include "skin/menus/WinSkinMenu.h"
#include "support/MessageRecorder.h"
#include "support/PixelCheck.h"

namespace kv::test {
namespace {

void PostKey(WPARAM key) {
  const std::vector<HWND> open = OpenDropDowns();
  if (!open.empty()) PostMessageW(open.front(), WM_KEYDOWN, key, 1);
}

class SkinMenuBarTest : public TSkinFormTest {
 protected:
  void SetUp() override {
    TSkinFormTest::SetUp();
    Data = AddSkinData();
  }

  // File (Nested > Deep, Open), Edit (Copy), View (disabled, Zoom), Go (a command).
  TForm* MakeMenuForm(bool ownerDraw) {
    TForm* form = MakeForm(bsSizeable, 360, 200);
    Menu = form->Make<TMainMenu>();
    Menu->SetOwnerDraw(ownerDraw);
    TMenuItem* bar = Menu->Items();
    File = bar->Add(L"&File");
    TMenuItem* nested = File->Add(L"&Nested");
    nested->Add(L"&Deep");
    File->Add(L"&Open");
    Edit = bar->Add(L"&Edit");
    Edit->Add(L"&Copy");
    View = bar->Add(L"&View");
    View->Add(L"&Zoom");
    View->SetEnabled(false);
    Go = bar->Add(L"&Go");
    Go->OnClick = [this](TComponent*) { ++GoClicks; };
    form->SetMenu(Menu);
    return form;
  }

  TWinSkinForm* ShowMenuForm(bool ownerDraw = true) {
    TForm* form = MakeMenuForm(ownerDraw);
    TWinSkinForm* skin = ShowSkinned(form);
    if (skin) Window = form->Handle();
    // The cursor away from the bar: the loop's mouse tracking starts from a quiet pointer.
    RECT w{};
    GetWindowRect(Window, &w);
    SetCursorPos(w.right - 20, w.bottom - 20);
    // A button the pointer crossed on its way rests again (the hover timer sees it left).
    if (skin) PumpUntil([&] { return skin->CurrentObject() == nullptr; });
    return skin;
  }

  TPixelBitmap Screen(const RECT& r) const {
    const TWindowDc dc = TWindowDc::Whole(Window);
    return ReadDcPixels(dc.Get(), {r.left, r.top, r.right, r.bottom});
  }

  // The bar's background as the skin paints it, at w x h.
  TPixelBitmap ExpectedBar(int w, int h, bool active) const {
    const TDataSkinObject& record = *Data->Model().MenuBar;
    TPixelBitmap bar(w, h);
    const int frame = active ? 1 : 2;
    if (record.Tile == 1)
      DrawSkinImage(bar, {0, 0, w, h}, record.Image, TDrawFlags::dfVertical, record.FrameCount, frame,
                    record.GetMargins());
    else
      DrawThreeSliceTiled(bar, {0, 0, w, h}, record.Image, TDrawFlags::dfVertical, record.FrameCount, frame,
                          record.GetMargins());
    return bar;
  }

  // Waits until the button of that index has its drop-down open (or nothing when -1).
  static bool Tracking(int index) {
    return TrackedMenuButtonIndex() == index && (index < 0 || !OpenDropDowns().empty());
  }

  TSkinData* Data = nullptr;
  HWND Window = nullptr;
  TMainMenu* Menu = nullptr;
  TMenuItem *File = nullptr, *Edit = nullptr, *View = nullptr, *Go = nullptr;
  int GoClicks = 0;
};

int CountPixels(const TPixelBitmap& bitmap, const std::function<bool(std::uint32_t)>& match) {
  int n = 0;
  for (std::uint32_t p : bitmap.Pixels()) n += match(p) ? 1 : 0;
  return n;
}
int Luminance(std::uint32_t p) { return int((p >> 16) & 0xFF) + int((p >> 8) & 0xFF) + int(p & 0xFF); }

TEST_F(SkinMenuBarTest, TheBarTakesThePlatformsPlaceAndShowsOwnerDrawnCaptions) {
  TWinSkinForm* skin = ShowMenuForm(true);
  ASSERT_NE(skin, nullptr);
  TWinSkinMenu* bar = skin->MenuBar();
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(GetMenu(Window), nullptr) << "the platform neither draws nor tracks its bar";
  EXPECT_EQ(bar->MenuHandle(), Menu->Handle());
  EXPECT_EQ(skin->MenuBarHeight(), GetSystemMetrics(SM_CYMENU));
  // Owner-drawn entries carry no platform text: the captions come from the items.
  ASSERT_EQ(bar->ButtonCount(), 4);
  EXPECT_EQ(bar->Buttons()[0]->Caption, L"&File");
  EXPECT_EQ(bar->Buttons()[3]->Caption, L"&Go");
  EXPECT_FALSE(bar->Buttons()[2]->Enabled);
  EXPECT_EQ(bar->Buttons()[3]->Submenu, nullptr);
  EXPECT_EQ(bar->Buttons()[1]->Submenu, Edit->Handle());
  // The client area keeps its size under the caption and the bar.
  const SIZE client = ClientSize(Window);
  EXPECT_EQ(client.cx, 360);
  EXPECT_EQ(client.cy, 200);
  POINT origin{0, 0};
  ClientToScreen(Window, &origin);
  const RECT w = WindowRect(Window);
  EXPECT_EQ(origin.y - w.top, skin->Borders().Top + skin->MenuBarHeight());
  // Buttons follow each other from LeftWidth + 4, one caption width + 10 each.
  const RECT barRect = bar->BarRect();
  EXPECT_EQ(bar->Buttons()[0]->Bounds.left - barRect.left, Data->Model().MenuBar->LeftWidth + 4);
  for (int i = 1; i < 4; ++i) EXPECT_EQ(bar->Buttons()[i]->Bounds.left, bar->Buttons()[i - 1]->Bounds.right);
  EXPECT_GT(bar->Buttons()[0]->Bounds.right - bar->Buttons()[0]->Bounds.left, 10);
}

TEST_F(SkinMenuBarTest, TheBarsPixelsFollowActivationAndTheButtonStates) {
  TWinSkinForm* skin = ShowMenuForm(true);
  ASSERT_NE(skin, nullptr);
  ASSERT_TRUE(skin->IsActive());
  TWinSkinMenu* bar = skin->MenuBar();
  const RECT r = bar->BarRect();
  const int w = r.right - r.left, h = r.bottom - r.top;
  // Right of the last button the bar shows its background alone.
  const int free = bar->Buttons().back()->Bounds.right - r.left + 4;
  ASSERT_LT(free + 20, w);
  const RECT strip{r.left + free, r.top, r.left + free + 20, r.bottom};
  const auto part = [&](const TPixelBitmap& whole) {
    TPixelBitmap p(20, h);
    CopyPixels(p, 0, 0, whole, {free, 0, free + 20, h});
    return p;
  };
  EXPECT_TRUE(PixelsMatch(part(ExpectedBar(w, h, true)), Screen(strip), "bar-active"));
  SendMessageW(Window, WM_NCACTIVATE, FALSE, 0);
  EXPECT_TRUE(PixelsMatch(part(ExpectedBar(w, h, false)), Screen(strip), "bar-inactive"));
  SendMessageW(Window, WM_NCACTIVATE, TRUE, 0);

  // Enabled captions in the bar's text colour (black here), the disabled one without it.
  const auto darkest = [](const TPixelBitmap& b) {
    int least = 3 * 255;
    for (std::uint32_t p : b.Pixels()) least = std::min(least, Luminance(p));
    return least;
  };
  TMenuBtn* go = bar->Buttons()[3];
  TMenuBtn* view = bar->Buttons()[2];
  EXPECT_LT(darkest(Screen(go->Bounds)), 150);
  EXPECT_GT(darkest(Screen(view->Bounds)), 200) << "a disabled caption is drawn in the shadow colour";
  const std::uint32_t shadow = PixelOf(GetSysColor(COLOR_BTNSHADOW));
  EXPECT_GT(CountPixels(Screen(view->Bounds), [&](std::uint32_t p) { return p == shadow; }), 0);

  // Hot and pressed: a one-pixel outline in the highlight colour; at rest none.
  const std::uint32_t hilight = PixelOf(ResolveColor(Data->Model().Colours.ButtonHilightColour));
  const RECT b = go->Bounds;
  const TPixelBitmap rest = Screen(b);
  const POINT over{WindowRect(Window).left + (b.left + b.right) / 2, WindowRect(Window).top + (b.top + b.bottom) / 2};
  SendMessageW(Window, WM_NCMOUSEMOVE, HTMENU, MAKELPARAM(over.x, over.y));
  EXPECT_EQ(skin->CurrentObject(), go);
  TPixelBitmap hot = Screen(b);
  for (int x = 0; x < hot.Width(); ++x) {
    EXPECT_EQ(hot.Pixel(x, 0), hilight) << "top edge at " << x;
    EXPECT_EQ(hot.Pixel(x, hot.Height() - 1), hilight) << "bottom edge at " << x;
  }
  EXPECT_EQ(hot.Pixel(0, hot.Height() / 2), hilight);
  EXPECT_EQ(hot.Pixel(hot.Width() - 1, hot.Height() / 2), hilight);
  EXPECT_NE(rest.Pixel(0, 0), hilight);
  // Off the bar it rests again, exactly as before.
  SendMessageW(Window, WM_NCMOUSEMOVE, HTCAPTION,
               MAKELPARAM(WindowRect(Window).left + 120, WindowRect(Window).top + 3));
  EXPECT_EQ(skin->CurrentObject(), nullptr);
  EXPECT_TRUE(PixelsMatch(rest, Screen(b), "go-rest"));
}

TEST_F(SkinMenuBarTest, ACommandButtonAndADisabledButtonSendTheirCommandAndOpenNothing) {
  TWinSkinForm* skin = ShowMenuForm(true);
  ASSERT_NE(skin, nullptr);
  TMessageRecorder recorder(Window);
  TWinSkinMenu* bar = skin->MenuBar();
  const std::uint32_t hilight = PixelOf(ResolveColor(Data->Model().Colours.ButtonHilightColour));

  skin->PostMenuButtonClick(*bar->Buttons()[3]);
  ASSERT_TRUE(PumpUntil([&] { return GoClicks == 1; })) << "Go's WM_COMMAND clicked it";
  EXPECT_EQ(TrackedMenuButtonIndex(), -1);
  EXPECT_TRUE(OpenDropDowns().empty());
  EXPECT_EQ(bar->Buttons()[3]->State, TNCObject::nsPressed);
  EXPECT_EQ(Screen(bar->Buttons()[3]->Bounds).Pixel(0, 0), hilight);

  recorder.Clear();
  skin->PostMenuButtonClick(*bar->Buttons()[2]);
  ASSERT_TRUE(PumpUntil([&] { return recorder.Saw(WM_COMMAND); }));
  bool viewCommand = false;
  for (const TMessage& m : recorder.Seen())
    if (m.Msg == WM_COMMAND && m.WParam == View->Command()) viewCommand = true;
  EXPECT_TRUE(viewCommand) << "the disabled item still receives its command";
  Pump();
  EXPECT_TRUE(OpenDropDowns().empty()) << "but opens no drop-down";
  EXPECT_FALSE(skin->MenuTracking());
  EXPECT_FALSE(MenuLoopHookInstalled());
}

TEST_F(SkinMenuBarTest, ArrowsMoveAlongTheBarAndIntoSubmenus) {
  TWinSkinForm* skin = ShowMenuForm(true);
  ASSERT_NE(skin, nullptr);
  TWinSkinMenu* bar = skin->MenuBar();
  RECT dropDown{};
  bool trackingFlags = false;
  bool goRanOnTheWay = true;
  TMenuDriver driver(
      Window,
      {
          {"open Edit", nullptr, [&] { skin->PostMenuButtonClick(*bar->Buttons()[1]); }},
          {"Edit open", [&] { return Tracking(1); },
           [&] {
             GetWindowRect(OpenDropDowns().front(), &dropDown);
             trackingFlags = skin->MenuTracking() && TSkinManage::Instance()->MenuTracking() && MenuLoopHookInstalled();
             PostKey(VK_LEFT);
           }},
          {"left from Edit opens File", [&] { return Tracking(0); }, [] { PostKey(VK_LEFT); }},
          // From the first, left wraps to the last button (Go: no drop-down, so the loop ends
          // there with Go shown hot, its command not run), so go right instead from File's submenu.
          {"left from File wraps to Go, hot and not run",
           [&] { return !skin->MenuTracking() && bar->Buttons()[3]->State == TNCObject::nsHot; },
           [&] {
             goRanOnTheWay = GoClicks != 0;
             skin->PostMenuButtonClick(*bar->Buttons()[0]);
           }},
          {"File open again", [&] { return Tracking(0) && OpenDropDowns().size() == 1; }, [] { PostKey(VK_RIGHT); }},
          {"right on Nested opens its submenu, not Edit", [&] { return OpenDropDowns().size() == 2; },
           [&] { PostKey(VK_RIGHT); }},
          {"right on Deep (no submenu) moves to Edit", [&] { return Tracking(1); }, [] { PostKey(VK_ESCAPE); }},
      });
  ASSERT_TRUE(PumpUntil([&] { return driver.Done() && !skin->MenuTracking(); }, 12000));
  EXPECT_TRUE(driver.Finished()) << "stuck at: " << driver.Stuck();
  EXPECT_TRUE(trackingFlags) << "the form, the manager and the hook know a drop-down is open";
  EXPECT_FALSE(goRanOnTheWay) << "moving onto a command button does not run it";
  EXPECT_EQ(GoClicks, 0);
  // The drop-down hangs from the button's lower-left corner.
  const RECT w = WindowRect(Window);
  EXPECT_EQ(dropDown.left, w.left + bar->Buttons()[1]->Bounds.left);
  EXPECT_EQ(dropDown.top, w.top + bar->Buttons()[1]->Bounds.bottom);
  EXPECT_FALSE(TSkinManage::Instance()->MenuTracking());
  EXPECT_FALSE(MenuLoopHookInstalled());
}

TEST_F(SkinMenuBarTest, TheArrowsKeepTheKeysOnTheBarWhereACommandIsHot) {
  // The arrows reach Go (a command): the bar keeps the keys. Enter or Go's access key runs
  // it; Esc leaves it unrun; Right wraps on to File and opens it.
  struct TRow {
    const char* Name;
    WPARAM Key;
    int GoClicks;
    bool FileOpens;
  };
  const TRow rows[] = {{"Enter runs it", VK_RETURN, 1, false},
                       {"its access key runs it", 'G', 1, false},
                       {"Esc leaves it", VK_ESCAPE, 0, false},
                       {"right opens File", VK_RIGHT, 0, true}};
  TWinSkinForm* skin = ShowMenuForm(true);
  ASSERT_NE(skin, nullptr);
  TWinSkinMenu* bar = skin->MenuBar();
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Name);
    GoClicks = 0;
    bool fileOpened = false;
    TMenuDriver driver(
        Window, {
                    {"open File", nullptr, [&] { skin->PostMenuButtonClick(*bar->Buttons()[0]); }},
                    {"File open", [&] { return Tracking(0); }, [] { PostKey(VK_LEFT); }},
                    {"left wraps to Go, hot",
                     [&] { return !skin->MenuTracking() && bar->Buttons()[3]->State == TNCObject::nsHot; },
                     [&] { PostMessageW(Window, WM_KEYDOWN, row.Key, 1); }},
                    {"the key taken", [&] { return GoClicks == row.GoClicks && (!row.FileOpens || Tracking(0)); },
                     [&] {
                       fileOpened = Tracking(0);
                       if (fileOpened) PostKey(VK_ESCAPE);
                     }},
                });
    ASSERT_TRUE(PumpUntil([&] { return driver.Done() && !skin->MenuTracking(); }, 12000));
    EXPECT_TRUE(driver.Finished()) << "stuck at: " << driver.Stuck();
    EXPECT_TRUE(PumpUntil([&] { return bar->Buttons()[3]->State != TNCObject::nsHot; }, 3000))
        << "the bar lets the keys go";
    EXPECT_EQ(GoClicks, row.GoClicks);
    EXPECT_EQ(fileOpened, row.FileOpens);
  }
}

TEST_F(SkinMenuBarTest, RightFromTheLastDropDownOpensTheFirst) {
  // Without the command item the last button has a drop-down.
  TWinSkinForm* skin = nullptr;
  {
    TForm* form = MakeMenuForm(false);
    Menu->Items()->Delete(3);
    View->SetEnabled(true);
    skin = ShowSkinned(form);
    ASSERT_NE(skin, nullptr);
    Window = form->Handle();
  }
  TWinSkinMenu* bar = skin->MenuBar();
  ASSERT_EQ(bar->ButtonCount(), 3);
  EXPECT_EQ(bar->Buttons()[0]->Caption, L"&File") << "a text menu's captions come from the platform";
  TMenuDriver driver(Window, {
                                 {"open View", nullptr, [&] { skin->PostMenuButtonClick(*bar->Buttons()[2]); }},
                                 {"View open", [] { return Tracking(2); }, [] { PostKey(VK_RIGHT); }},
                                 {"right wraps to File", [] { return Tracking(0); }, [] { PostKey(VK_LEFT); }},
                                 {"left wraps to View", [] { return Tracking(2); }, [] { PostKey(VK_ESCAPE); }},
                             });
  ASSERT_TRUE(PumpUntil([&] { return driver.Done() && !skin->MenuTracking(); }, 12000));
  EXPECT_TRUE(driver.Finished()) << "stuck at: " << driver.Stuck();
}

TEST_F(SkinMenuBarTest, TheMouseMovedAlongTheBarSwitchesDropDownsWithoutAClick) {
  TWinSkinForm* skin = ShowMenuForm(true);
  ASSERT_NE(skin, nullptr);
  TWinSkinMenu* bar = skin->MenuBar();
  const auto centre = [&](int i) {
    const RECT w = WindowRect(Window);
    const RECT& b = bar->Buttons()[std::size_t(i)]->Bounds;
    return POINT{w.left + (b.left + b.right) / 2, w.top + (b.top + b.bottom) / 2};
  };
  TMenuDriver driver(
      Window,
      {
          {"open File", nullptr, [&] { skin->PostMenuButtonClick(*bar->Buttons()[0]); }},
          {"File open", [] { return Tracking(0); }, [&] { SetCursorPos(centre(1).x, centre(1).y); }},
          {"over Edit", [] { return Tracking(1); }, [&] { SetCursorPos(centre(0).x, centre(0).y); }},
          {"back over File", [] { return Tracking(0); }, [&] { SetCursorPos(centre(3).x, centre(3).y); }},
          // Go has no drop-down: passing over it shows it hot and runs nothing.
          {"over Go", [&] { return !skin->MenuTracking() && bar->Buttons()[3]->State == TNCObject::nsHot; }, nullptr},
      });
  ASSERT_TRUE(PumpUntil([&] { return driver.Done() && !skin->MenuTracking(); }, 12000));
  EXPECT_TRUE(driver.Finished()) << "stuck at: " << driver.Stuck();
  Pump();
  EXPECT_EQ(GoClicks, 0);
}

TEST_F(SkinMenuBarTest, KeyboardAccessOpensTheRightDropDownAndAltAloneEntersNoMenuMode) {
  TWinSkinForm* skin = ShowMenuForm(true);
  ASSERT_NE(skin, nullptr);
  TForm* form = skin->Form();
  TMessageRecorder recorder(Window);

  // Alt alone: the platform's keyboard menu command is answered and goes no further.
  SendMessageW(Window, WM_SYSKEYDOWN, VK_MENU, 0x20380001);
  SendMessageW(Window, WM_SYSKEYUP, VK_MENU, 0xC0380001);
  EXPECT_EQ(SendMessageW(Window, WM_SYSCOMMAND, SC_KEYMENU, 0), 1);
  Pump();
  EXPECT_FALSE(recorder.Saw(WM_ENTERMENULOOP));
  EXPECT_FALSE(recorder.Saw(WM_INITMENU));
  EXPECT_EQ(skin->CurrentObject(), nullptr) << "nothing highlighted";
  // A letter of no button, and Alt+Space, go on to the system.
  EXPECT_EQ(SendMessageW(Window, WM_SYSCOMMAND, SC_KEYMENU, 'e'), 1);
  EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'q', 1 << 29), 0);
  {
    const THeldKeys shift{VK_SHIFT};
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'e', 1 << 29), 0) << "Shift+Alt+E is not Alt+E";
  }
  // Alt+E opens Edit (the button's letter in either case).
  TMenuDriver driver(Window, {
                                 {"Alt+E", nullptr, [&] { EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'E', 1 << 29), 1); }},
                                 {"Edit open", [] { return Tracking(1); }, [] { PostKey(VK_ESCAPE); }},
                             });
  ASSERT_TRUE(PumpUntil([&] { return driver.Done() && !skin->MenuTracking(); }, 12000));
  EXPECT_TRUE(driver.Finished()) << "stuck at: " << driver.Stuck();
}

TEST_F(SkinMenuBarTest, ANarrowBarStartsItsFirstButtonAt12) {
  Data->Model().MenuBar->LeftWidth = 2000;
  TWinSkinForm* skin = ShowMenuForm(true);
  ASSERT_NE(skin, nullptr);
  TWinSkinMenu* bar = skin->MenuBar();
  EXPECT_EQ(bar->Buttons()[0]->Bounds.left - bar->BarRect().left, 12);
  // Without a picture the bar is the menu-bar colour and starts at 6.
  Data->Model().MenuBar.reset();
  SendMessageW(Window, SM_REPAINTFRAME, 0, 0);
  EXPECT_EQ(bar->Buttons()[0]->Bounds.left - bar->BarRect().left, 6);
  const std::uint32_t colour = PixelOf(ResolveColor(Data->Model().Colours.MenubarColour));
  const RECT r = bar->BarRect();
  const TPixelBitmap end = Screen({r.right - 10, r.top, r.right, r.bottom});
  EXPECT_EQ(CountPixels(end, [&](std::uint32_t p) { return p != colour; }), 0);
}

TEST_F(SkinMenuBarTest, DetachingGivesTheWindowItsMenuBackAroundTheSameClientArea) {
  TWinSkinForm* skin = ShowMenuForm(true);
  ASSERT_NE(skin, nullptr);
  const HMENU menu = Menu->Handle();
  skin->DetachRestoring();
  Pump();
  EXPECT_EQ(GetMenu(Window), menu);
  EXPECT_EQ(skin->MenuBar(), nullptr);
  const SIZE client = ClientSize(Window);
  EXPECT_EQ(client.cx, 360);
  EXPECT_EQ(client.cy, 200);
}

TEST_F(SkinMenuBarTest, AForeignWindowsMenuGoesWithItsWindow) {
  // A raw window (no framework form) with a menu of its own, skinned as it activates.
  const HMENU menu = CreateMenu();
  const HMENU sub = CreatePopupMenu();
  AppendMenuW(sub, MF_STRING, 11, L"&One");
  AppendMenuW(menu, MF_POPUP, UINT_PTR(sub), L"&Raw");
  const HWND raw = CreateWindowExW(0, L"STATIC", L"Raw", WS_OVERLAPPEDWINDOW, 100, 100, 300, 200, nullptr, menu,
                                   GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(raw, nullptr);
  ShowWindow(raw, SW_SHOW);
  SetForegroundWindow(raw);
  TWinSkinForm* skin = nullptr;
  ASSERT_TRUE(PumpUntil([&] {
    skin = Manager().FindFormSkin(raw);
    return skin && skin->SkinState() == fsReady;
  }));
  ASSERT_NE(skin->MenuBar(), nullptr);
  EXPECT_EQ(skin->MenuBar()->Buttons()[0]->Caption, L"&Raw");
  EXPECT_EQ(GetMenu(raw), nullptr);
  // Its Alt+letter comes as the keyboard menu command: the bar opens the drop-down.
  TMenuDriver driver(raw,
                     {
                         {"Alt+R", nullptr, [&] { EXPECT_EQ(SendMessageW(raw, WM_SYSCOMMAND, SC_KEYMENU, 'r'), 1); }},
                         {"Raw open", [] { return Tracking(0); }, [] { PostKey(VK_ESCAPE); }},
                     });
  ASSERT_TRUE(PumpUntil([&] { return driver.Done() && !skin->MenuTracking(); }, 12000));
  EXPECT_TRUE(driver.Finished()) << "stuck at: " << driver.Stuck();
  DestroyWindow(raw);
  EXPECT_FALSE(IsMenu(menu)) << "the menu we took would otherwise outlive its window";
}

TEST_F(SkinMenuBarTest, AMaximisedMdiChildsButtonsShowOnTheFramesBar) {
  TForm* frame = MakeForm(bsSizeable, 520, 360);
  frame->SetFormStyle(fsMDIForm);
  Menu = frame->Make<TMainMenu>();
  Menu->Items()->Add(L"&File")->Add(L"&New");
  frame->SetMenu(Menu);
  TWinSkinForm* frameSkin = ShowSkinned(frame);
  ASSERT_NE(frameSkin, nullptr);
  Window = frame->Handle();
  ASSERT_NE(frameSkin->MenuBar(), nullptr);

  TForm* child = App->CreateForm<TForm>();
  child->SetFormStyle(fsMDIChild);
  child->SetCaption(L"Child");
  ASSERT_NE(ShowSkinned(child), nullptr);
  const HWND childWindow = child->Handle();
  child->SetWindowState(wsMaximized);
  SendMessageW(Window, SM_REPAINTFRAME, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return Manager().MdiMaximized(); }));
  ASSERT_TRUE(frameSkin->ActiveMdiChildMaximized());
  EXPECT_EQ(frameSkin->MenuBar()->ButtonCount(), 1) << "the frame's own items only";
  int shown = 0;
  for (TWinSysButton* button : frameSkin->Buttons()) {
    const TDataSkinSysButton& record = button->Record();
    if (record.Visibility != 100) continue;
    ASSERT_TRUE(button->Visible);
    ++shown;
    const RECT& b = button->Bounds;
    const RECT bar = frameSkin->MenuBar()->BarRect();
    EXPECT_GE(b.top, bar.top);
    EXPECT_LE(b.bottom, bar.bottom);
    // Frame 1 of the button over the bar's background.
    TPixelBitmap expected = Screen(b);
    TPixelBitmap background(b.right - b.left, b.bottom - b.top);
    CopyPixels(background, 0, 0, frameSkin->MenuBar()->Background(),
               {b.left - bar.left, b.top - bar.top, b.right - bar.left, b.bottom - bar.top});
    DrawFrameStretched(background, {0, 0, background.Width(), background.Height()}, record.Image,
                       TDrawFlags::dfTransparent, record.FrameCount, 1);
    EXPECT_TRUE(PixelsMatch(background, expected, "mdi-button"));
  }
  EXPECT_EQ(shown, 3);

  // The last child gone, the bar is the frame's own again and shows no MDI buttons.
  child->Close();
  ASSERT_TRUE(PumpUntil([&] { return !Manager().MdiMaximized() && !IsWindow(childWindow); }));
  SendMessageW(Window, SM_REPAINTFRAME, 0, 0);
  EXPECT_EQ(frameSkin->MenuBar()->ButtonCount(), 1);
  EXPECT_EQ(GetMenu(Window), nullptr);
  for (TWinSysButton* button : frameSkin->Buttons()) {
    if (button->Record().Visibility != 100) continue;
    EXPECT_FALSE(button->Visible);
    const RECT& b = button->Bounds;
    const RECT bar = frameSkin->MenuBar()->BarRect();
    TPixelBitmap background(b.right - b.left, b.bottom - b.top);
    CopyPixels(background, 0, 0, frameSkin->MenuBar()->Background(),
               {b.left - bar.left, b.top - bar.top, b.right - bar.left, b.bottom - bar.top});
    EXPECT_TRUE(PixelsMatch(background, Screen(b), "mdi-button-gone"));
  }
}

TEST_F(SkinMenuBarTest, AMenuSetThroughTheMdiClientReplacesTheFramesBar) {
  TForm* frame = MakeForm(bsSizeable, 520, 360);
  frame->SetFormStyle(fsMDIForm);
  Menu = frame->Make<TMainMenu>();
  Menu->Items()->Add(L"&File")->Add(L"&New");
  frame->SetMenu(Menu);
  TWinSkinForm* frameSkin = ShowSkinned(frame);
  ASSERT_NE(frameSkin, nullptr);
  Window = frame->Handle();
  ASSERT_NE(frameSkin->MenuBar(), nullptr);
  const HMENU own = frameSkin->MenuBar()->MenuHandle();

  // What an MDI child with a menu of its own does: the client puts it on the frame.
  TMenuHandle other(CreateMenu());
  AppendMenuW(other.Get(), MF_STRING, 901, L"&Alpha");
  AppendMenuW(other.Get(), MF_STRING, 902, L"&Beta");
  SendMessageW(frame->ClientHandle(), WM_MDISETMENU, WPARAM(other.Get()), 0);
  Pump();
  TWinSkinMenu* bar = frameSkin->MenuBar();
  ASSERT_EQ(bar->ButtonCount(), 2);
  EXPECT_EQ(bar->Buttons()[0]->Caption, L"&Alpha");
  EXPECT_EQ(bar->Buttons()[1]->Caption, L"&Beta");
  EXPECT_EQ(bar->MenuHandle(), other.Get());
  EXPECT_EQ(GetMenu(Window), nullptr) << "the platform's bar stays off the frame";

  // And back: the frame's own items again.
  SendMessageW(frame->ClientHandle(), WM_MDISETMENU, WPARAM(own), 0);
  Pump();
  ASSERT_EQ(bar->ButtonCount(), 1);
  EXPECT_EQ(bar->Buttons()[0]->Caption, L"&File");
  EXPECT_EQ(GetMenu(Window), nullptr);
}

TEST_F(SkinMenuBarTest, ChangesOfTheMenuReachTheBar) {
  TWinSkinForm* skin = ShowMenuForm(true);
  ASSERT_NE(skin, nullptr);
  TWinSkinMenu* bar = skin->MenuBar();
  // An item of the menu the bar shows (the window no longer holds it).
  Edit->SetEnabled(false);
  Go->SetCaption(L"&Run");
  Pump();
  ASSERT_EQ(bar->ButtonCount(), 4);
  EXPECT_FALSE(bar->Buttons()[1]->Enabled);
  EXPECT_EQ(bar->Buttons()[3]->Caption, L"&Run");
  EXPECT_EQ(GetMenu(Window), nullptr);
  // Another menu altogether.
  auto* other = skin->Form()->Make<TMainMenu>();
  other->Items()->Add(L"&Tools")->Add(L"&Options");
  skin->Form()->SetMenu(other);
  Pump();
  ASSERT_EQ(bar->ButtonCount(), 1);
  EXPECT_EQ(bar->Buttons()[0]->Caption, L"&Tools");
  EXPECT_EQ(bar->MenuHandle(), other->Handle());
  EXPECT_EQ(GetMenu(Window), nullptr);
  const SIZE client = ClientSize(Window);
  EXPECT_EQ(client.cy, 200) << "the client keeps its size";
}

TEST(MenuCaption, OwnerDrawingKeepsTextsAndItemData) {
  const HMENU menu = CreatePopupMenu();
  const HMENU sub = CreatePopupMenu();
  AppendMenuW(sub, MF_STRING, 7, L"Inner");
  AppendMenuW(menu, MF_STRING, 5, L"Outer");
  AppendMenuW(menu, MF_POPUP, UINT_PTR(sub), L"Sub");
  MENUITEMINFOW data{};
  data.cbSize = sizeof(data);
  data.fMask = MIIM_DATA;
  data.dwItemData = 0x4B560005;
  SetMenuItemInfoW(menu, 0, TRUE, &data);
  MakeMenuOwnerDraw(menu);
  for (auto [m, position] : {std::pair{menu, 0u}, std::pair{menu, 1u}, std::pair{sub, 0u}}) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    ASSERT_TRUE(GetMenuItemInfoW(m, position, TRUE, &info));
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << position;
  }
  data.dwItemData = 0;
  GetMenuItemInfoW(menu, 0, TRUE, &data);
  EXPECT_EQ(data.dwItemData, 0x4B560005u);
  EXPECT_EQ(ReadMenuText(sub, 0, MF_BYPOSITION), L"Inner");
  DestroyMenu(menu);
}

}  // namespace
}  // namespace kv::test
