// The skinned menu bar in a window too narrow for its buttons: it wraps onto rows as the
// platform's bar does, the client area gives the rows its height, the borders beside the
// rows size the window, keyboard access opens a wrapped button's drop-down under it, and
// a menu taken away at run time takes the whole bar with it.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <iterator>
#include <set>

#include "ModalLoopDriver.h"
#include "SkinFormFixture.h"
#include "framework/Menus.h"
#include "skin/gdi/SkinGdi.h"
#include "skin/menus/WinSkinMenu.h"
#include "support/PixelCheck.h"

namespace kv::test {
namespace {

// Wide enough that a third of them is wider than the least width of a window.
constexpr const wchar_t* kCaptions[] = {L"&File", L"&Edit",      L"&View",  L"&Bookmarks", L"&Window",
                                        L"&Skins", L"&Options", L"&Tools", L"&Help"};
constexpr int kItems = int(std::size(kCaptions));

class SkinMenuBarRowsTest : public TSkinFormTest {
 protected:
  void SetUp() override {
    TSkinFormTest::SetUp();
    Data = AddSkinData();
  }

  // A bar like the gallery's, each item with a drop-down; an MDI frame's when asked.
  TWinSkinForm* ShowGalleryForm(bool mdiFrame = false) {
    Form = MakeForm(bsSizeable, 560, 220);
    if (mdiFrame) Form->SetFormStyle(fsMDIForm);
    Menu = Form->Make<TMainMenu>();
    for (const wchar_t* caption : kCaptions) Menu->Items()->Add(caption)->Add(L"&Item");
    Form->SetMenu(Menu);
    TWinSkinForm* skin = ShowSkinned(Form);
    if (!skin) return nullptr;
    Window = Form->Handle();
    Bar = skin->MenuBar();
    Wide = WindowRect(Window);
    SetCursorPos(Wide.right - 20, Wide.bottom - 20);  // off the bar
    return skin;
  }

  // The window at that width (its height kept), the frame painted at that size.
  void Resize(int width) {
    SetWindowPos(Window, nullptr, 0, 0, width, Wide.bottom - Wide.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(Window, SM_REPAINTFRAME, 0, 0);
    Pump();
  }
  // A window whose bar is `part` of the captions' width wide (after the start).
  int NarrowWidth(const TWinSkinForm& skin, int part) const {
    const int start = Bar->Buttons()[0]->Bounds.left - Bar->BarRect().left;
    const int captions = Bar->Buttons().back()->Bounds.right - Bar->Buttons()[0]->Bounds.left;
    return skin.Borders().Left + skin.Borders().Right + start + captions / part;
  }
  static int RowHeight() { return GetSystemMetrics(SM_CYMENU); }

  TSkinData* Data = nullptr;
  TForm* Form = nullptr;
  TMainMenu* Menu = nullptr;
  HWND Window = nullptr;
  TWinSkinMenu* Bar = nullptr;
  RECT Wide{};
};

TEST_F(SkinMenuBarRowsTest, ANarrowWindowWrapsTheBarAndAWideOneTakesTheRowsBack) {
  TWinSkinForm* skin = ShowGalleryForm();
  ASSERT_NE(skin, nullptr);
  ASSERT_EQ(skin->MenuBarHeight(), RowHeight()) << "wide enough for one row";
  const std::uint32_t ink = PixelOf(ResolveColor(Data->Model().Colours.MenuBarTextColour));
  const struct {
    const char* Name;
    int Width;
    int LeastRows, MostRows;
  } cases[] = {
      {"half the captions' width", NarrowWidth(*skin, 2), 2, kItems},
      {"a third", NarrowWidth(*skin, 3), 3, kItems},
      {"wide again", int(Wide.right - Wide.left), 1, 1},
  };
  for (const auto& c : cases) {
    Resize(c.Width);
    const RECT w = WindowRect(Window);
    EXPECT_EQ(w.right - w.left, c.Width) << c.Name << ": the window keeps the size it was given";
    EXPECT_EQ(w.bottom - w.top, Wide.bottom - Wide.top) << c.Name;
    const int bar = skin->MenuBarHeight();
    EXPECT_EQ(bar % RowHeight(), 0) << c.Name << ": whole rows";
    const int rows = bar / RowHeight();
    EXPECT_GE(rows, c.LeastRows) << c.Name;
    EXPECT_LE(rows, c.MostRows) << c.Name;
    // The client area starts under the rows and gives them its height.
    POINT origin{0, 0};
    ClientToScreen(Window, &origin);
    EXPECT_EQ(origin.y - w.top, skin->Borders().Top + bar) << c.Name;
    EXPECT_EQ(ClientSize(Window).cy, (w.bottom - w.top) - skin->Borders().Top - skin->Borders().Bottom - bar)
        << c.Name;
    // Every button inside the bar, so inside the window; the rows top down in menu order,
    // each holding a button.
    const RECT r = Bar->BarRect();
    EXPECT_EQ(r.bottom - r.top, bar) << c.Name;
    std::set<int> tops;
    int lastTop = r.top;
    for (const TMenuBtn* button : Bar->Buttons()) {
      const RECT& b = button->Bounds;
      EXPECT_TRUE(b.left >= r.left && b.right <= r.right && b.top >= r.top && b.bottom < r.bottom)
          << c.Name << ": " << button->Index() << " at " << b.left << "," << b.top << " - " << b.right << ","
          << b.bottom;
      EXPECT_LE(b.right, w.right - w.left) << c.Name;
      EXPECT_GE(b.top, lastTop) << c.Name << ": " << button->Index();
      EXPECT_EQ((b.top - r.top) % RowHeight(), 0) << c.Name;
      lastTop = b.top;
      tops.insert(b.top);
    }
    EXPECT_EQ(int(tops.size()), rows) << c.Name;
    // On the screen the second row shows the later captions: text strokes over the bar's
    // own background there.
    if (rows < 2) continue;
    const TPixelBitmap shot = CaptureWindow(Window);
    const TPixelBitmap& background = Bar->Background();
    const Rect second{int(r.left), int(r.top) + RowHeight(), int(r.right), int(r.top) + 2 * RowHeight()};
    const std::uint32_t ground = background.Pixel(background.Width() - 2, RowHeight() + RowHeight() / 2);
    const int strokes = CountInk(shot, second, ink, ground);
    const int plain = CountInk(background, {0, RowHeight(), background.Width(), 2 * RowHeight()}, ink, ground);
    EXPECT_GT(strokes - plain, 20) << c.Name << ": " << strokes << " ink pixels, " << plain << " without captions";
  }
}

TEST_F(SkinMenuBarRowsTest, TheBordersBesideTheRowsSizeTheWindowAndHideNoButton) {
  TWinSkinForm* skin = ShowGalleryForm();
  ASSERT_NE(skin, nullptr);
  Resize(NarrowWidth(*skin, 2));
  ASSERT_GE(skin->MenuBarHeight(), 2 * RowHeight());
  const RECT w = WindowRect(Window);
  const RECT r = Bar->BarRect();
  const int width = w.right - w.left;
  const int firstRow = r.top + RowHeight() / 2, lastRow = r.bottom - RowHeight() / 2;
  const RECT& last = Bar->Buttons().back()->Bounds;
  ASSERT_LT(last.right + 4, r.right) << "room after the last button";
  const struct {
    const char* Name;
    POINT At;  // window coordinates
    LRESULT Hit;
  } cases[] = {
      {"right border's inner edge, first row", {width - skin->Borders().Right, firstRow}, HTRIGHT},
      {"right border's outer edge, first row", {width - 1, firstRow}, HTRIGHT},
      {"right border, last row", {width - skin->Borders().Right, lastRow}, HTRIGHT},
      {"left border's inner edge, last row", {skin->Borders().Left - 1, lastRow}, HTLEFT},
      {"past the last button", {last.right + 2, lastRow}, HTMENU},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SendMessageW(Window, WM_NCHITTEST, 0, MAKELPARAM(w.left + c.At.x, w.top + c.At.y)), c.Hit) << c.Name;
    EXPECT_EQ(MenuButtonAt(Bar, c.At), nullptr) << c.Name;
  }
  // Each button is found where it shows, on whatever row.
  for (TMenuBtn* button : Bar->Buttons()) {
    const RECT& b = button->Bounds;
    const POINT centre{(b.left + b.right) / 2, (b.top + b.bottom) / 2};
    EXPECT_EQ(MenuButtonAt(Bar, centre), button) << button->Index();
    EXPECT_EQ(SendMessageW(Window, WM_NCHITTEST, 0, MAKELPARAM(w.left + centre.x, w.top + centre.y)), HTMENU)
        << button->Index();
  }
}

TEST_F(SkinMenuBarRowsTest, AltLetterOpensAWrappedButtonsDropDownUnderIt) {
  TWinSkinForm* skin = ShowGalleryForm();
  ASSERT_NE(skin, nullptr);
  Resize(NarrowWidth(*skin, 3));
  const int help = Bar->ButtonCount() - 1;
  const RECT b = Bar->Buttons()[std::size_t(help)]->Bounds;
  ASSERT_GE(b.top, Bar->BarRect().top + RowHeight()) << "Help wrapped onto a later row";
  RECT dropDown{};
  TMenuDriver driver(Window, {
                                 {"Alt+H", nullptr, [&] { Form->Perform(CM_DIALOGCHAR, 'h', 1 << 29); }},
                                 {"Help open",
                                  [&] { return TrackedMenuButtonIndex() == help && !OpenDropDowns().empty(); },
                                  [&] {
                                    GetWindowRect(OpenDropDowns().front(), &dropDown);
                                    EndMenu();
                                  }},
                             });
  ASSERT_TRUE(PumpUntil([&] { return driver.Done() && !skin->MenuTracking(); }, 12000));
  EXPECT_TRUE(driver.Finished()) << "stuck at: " << driver.Stuck();
  const RECT w = WindowRect(Window);
  EXPECT_EQ(dropDown.left, w.left + b.left) << "under its button";
  EXPECT_EQ(dropDown.top, w.top + b.bottom);
  EXPECT_TRUE(dropDown.left >= w.left && dropDown.left < w.right) << "inside the window";
}

TEST_F(SkinMenuBarRowsTest, AMenuTakenAwayTakesTheBarAndSetAgainBringsItBack) {
  TWinSkinForm* skin = ShowGalleryForm();
  ASSERT_NE(skin, nullptr);
  const struct {
    const char* Name;
    int Width;
  } cases[] = {{"one row", int(Wide.right - Wide.left)}, {"wrapped", NarrowWidth(*skin, 2)}};
  for (const auto& c : cases) {
    Resize(c.Width);
    const int bar = skin->MenuBarHeight();
    ASSERT_GT(bar, 0) << c.Name;
    const SIZE client = ClientSize(Window);
    const RECT w = WindowRect(Window);

    Form->SetMenu(nullptr);
    Pump();
    EXPECT_EQ(skin->MenuBar(), nullptr) << c.Name;
    EXPECT_EQ(skin->MenuBarHeight(), 0) << c.Name;
    EXPECT_EQ(ClientSize(Window).cy, client.cy + bar) << c.Name << ": the client takes the bar's rows";
    EXPECT_EQ(ClientSize(Window).cx, client.cx) << c.Name;
    RECT now = WindowRect(Window);
    EXPECT_TRUE(EqualRect(&w, &now)) << c.Name << ": the window keeps its size";
    POINT origin{0, 0};
    ClientToScreen(Window, &origin);
    EXPECT_EQ(origin.y - w.top, skin->Borders().Top) << c.Name << ": right under the caption";

    Form->SetMenu(Menu);
    Pump();
    ASSERT_NE(skin->MenuBar(), nullptr) << c.Name;
    Bar = skin->MenuBar();
    EXPECT_EQ(Bar->ButtonCount(), kItems) << c.Name;
    EXPECT_EQ(skin->MenuBarHeight(), bar) << c.Name;
    EXPECT_EQ(ClientSize(Window).cy, client.cy) << c.Name;
    now = WindowRect(Window);
    EXPECT_TRUE(EqualRect(&w, &now)) << c.Name;
    EXPECT_EQ(GetMenu(Window), nullptr) << c.Name << ": the platform's bar stays off";
  }
}

TEST_F(SkinMenuBarRowsTest, AMaximisedMdiChildsButtonsKeepTheFirstRowsEnd) {
  TWinSkinForm* skin = ShowGalleryForm(true);
  ASSERT_NE(skin, nullptr);
  TForm* child = App->CreateForm<TForm>();
  child->SetFormStyle(fsMDIChild);
  child->SetCaption(L"Child");
  ASSERT_NE(ShowSkinned(child), nullptr);
  child->SetWindowState(wsMaximized);
  SendMessageW(Window, SM_REPAINTFRAME, 0, 0);
  ASSERT_TRUE(PumpUntil([&] { return Manager().MdiMaximized(); }));
  Resize(NarrowWidth(*skin, 2));
  ASSERT_GE(skin->MenuBarHeight(), 2 * RowHeight());
  Bar = skin->MenuBar();
  ASSERT_EQ(Bar->ButtonCount(), kItems) << "the frame's own items";
  const RECT r = Bar->BarRect();
  int mdiLeft = r.right, shown = 0;
  for (TWinSysButton* button : skin->Buttons()) {
    if (button->Record().Visibility != 100 || !button->Visible) continue;
    ++shown;
    const RECT& b = button->Bounds;
    EXPECT_TRUE(b.top >= r.top && b.bottom <= r.top + RowHeight()) << "in the first row, from " << b.top;
    EXPECT_LE(b.right, r.right);
    mdiLeft = std::min(mdiLeft, int(b.left));
  }
  ASSERT_GT(shown, 0);
  for (const TMenuBtn* button : Bar->Buttons()) {
    if (button->Bounds.top == r.top) {
      EXPECT_LE(button->Bounds.right, mdiLeft) << button->Index() << " runs under them";
    }
  }
}

TEST_F(SkinMenuBarRowsTest, RightToLeftRowsRunFromTheRightEnd) {
  // A raw window reading from the right (the frame's own right to left; a window the
  // system mirrors is laid out left to right), with a menu of its own, skinned as it
  // activates.
  const HMENU menu = CreateMenu();
  for (const wchar_t* caption : kCaptions) {
    const HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 11, L"&Item");
    AppendMenuW(menu, MF_POPUP, UINT_PTR(sub), caption);
  }
  Window = CreateWindowExW(WS_EX_LEFTSCROLLBAR, L"STATIC", L"Raw", WS_OVERLAPPEDWINDOW, 100, 100, 700, 220, nullptr, menu,
                           GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(Window, nullptr);
  ShowWindow(Window, SW_SHOW);
  SetForegroundWindow(Window);
  TWinSkinForm* skin = nullptr;
  ASSERT_TRUE(PumpUntil([&] {
    skin = Manager().FindFormSkin(Window);
    return skin && skin->SkinState() == fsReady && skin->MenuBar();
  }));
  SendMessageW(Window, SM_REPAINTFRAME, 0, 0);
  Bar = skin->MenuBar();
  Wide = WindowRect(Window);
  const RECT wide = Bar->BarRect();
  const int start = wide.right - Bar->Buttons()[0]->Bounds.right;
  const int captions = Bar->Buttons()[0]->Bounds.right - Bar->Buttons().back()->Bounds.left;
  Resize(skin->Borders().Left + skin->Borders().Right + start + captions / 2);
  ASSERT_GE(skin->MenuBarHeight(), 2 * RowHeight());
  const RECT r = Bar->BarRect();
  // Each row starts at the same distance from the right end and runs leftwards.
  const TMenuBtn* previous = nullptr;
  for (const TMenuBtn* button : Bar->Buttons()) {
    const RECT& b = button->Bounds;
    if (!previous || b.top != previous->Bounds.top) {
      EXPECT_EQ(r.right - b.right, start) << button->Index() << " starts a row";
    } else {
      EXPECT_EQ(b.right, previous->Bounds.left) << button->Index();
    }
    EXPECT_GE(b.left, r.left) << button->Index();
    previous = button;
  }
  DestroyWindow(Window);
}

}  // namespace
}  // namespace kv::test
