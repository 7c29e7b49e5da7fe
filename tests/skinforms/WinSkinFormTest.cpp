// The skinned frame of a form: its size around the unchanged client area, hit testing,
// caption buttons painting their states onto the screen and running their actions, the
// window states, the region cut from the skin, and detaching back to the system frame.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <vector>

#include "SkinFormFixture.h"
#include "framework/Subclass.h"
#include "skin/gdi/SkinFrameGdi.h"
#include "skin/gdi/SkinGdi.h"
#include "support/HandleCount.h"
#include "support/MessageRecorder.h"
#include "support/PixelCheck.h"

namespace kv::test {
namespace {

class WinSkinFormTest : public TSkinFormTest {
 protected:
  void SetUp() override {
    TSkinFormTest::SetUp();
    Data = AddSkinData();
  }

  // The index of the skin's caption button of that action and visibility.
  std::size_t ButtonIndex(int action, int visibility = 0) const {
    const auto& buttons = Data->Model().SysButtons;
    for (std::size_t i = 0; i < buttons.size(); ++i)
      if (buttons[i]->Action == action && buttons[i]->Visibility == visibility) return i;
    ADD_FAILURE() << "the skin has no button of action " << action;
    return 0;
  }

  // A screen point in the middle of a frame rectangle (window coordinates).
  static POINT ScreenPoint(HWND window, const RECT& frameRect) {
    const RECT w = WindowRect(window);
    return {w.left + (frameRect.left + frameRect.right) / 2, w.top + (frameRect.top + frameRect.bottom) / 2};
  }
  static LPARAM PointParam(POINT p) { return MAKELPARAM(p.x, p.y); }

  // What the window shows of one of its frame rectangles.
  static TPixelBitmap ScreenPixels(HWND window, const RECT& frameRect) {
    const TWindowDc dc = TWindowDc::Whole(window);
    return ReadDcPixels(dc.Get(), {frameRect.left, frameRect.top, frameRect.right, frameRect.bottom});
  }

  // Caption button `index` in `state`, as the portable renderer draws it over `under`.
  TPixelBitmap ExpectedButton(std::size_t index, TStateFlags state, const TPixelBitmap& under,
                              const TPixelBitmap* icon) const {
    TPixelBitmap expected = under;
    DrawCaptionButton(expected, {0, 0, under.Width(), under.Height()}, *Data->Model().SysButtons[index], state, icon);
    return expected;
  }

  TSkinData* Data = nullptr;
};

TEST_F(WinSkinFormTest, TheFrameGoesAroundTheClientAreaItHad) {
  TForm* form = MakeForm(bsSizeable, 320, 200);
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  const HWND window = form->Handle();
  const Margins b = skin->Borders();
  EXPECT_GT(b.Top, 0);
  const SIZE client = ClientSize(window);
  EXPECT_EQ(client.cx, 320);
  EXPECT_EQ(client.cy, 200);
  const RECT w = WindowRect(window);
  EXPECT_EQ(w.right - w.left, 320 + b.Left + b.Right);
  EXPECT_EQ(w.bottom - w.top, 200 + b.Top + b.Bottom);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  EXPECT_EQ(origin.x - w.left, b.Left);
  EXPECT_EQ(origin.y - w.top, b.Top);
  // The system's own caption buttons and icon are kept off the frame.
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  EXPECT_EQ(SendMessageW(window, SM_ISSKINNED, 0, 0), 1);
  EXPECT_EQ(skin->FrameType(), TFrameType::ftEdged);
  EXPECT_TRUE(HasFlag(skin->CaptionFlags(), TCaptionFlags::cfMaxBox));
  EXPECT_TRUE(HasFlag(skin->CaptionFlags(), TCaptionFlags::cfMinBox));
  EXPECT_TRUE(HasFlag(skin->CaptionFlags(), TCaptionFlags::cfSysMenu));
}

TEST_F(WinSkinFormTest, CaptionButtonsPaintTheirStatesStraightOntoTheScreen) {
  TForm* form = MakeForm();
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  const HWND window = form->Handle();
  ASSERT_TRUE(skin->IsActive());
  TWinSysButton* close = skin->Buttons().at(ButtonIndex(0));
  ASSERT_TRUE(close->Visible);
  const RECT bounds = close->Bounds;
  const TPixelBitmap rest = ScreenPixels(window, bounds);
  ASSERT_FALSE(rest.Empty());
  const LPARAM over = PointParam(ScreenPoint(window, bounds));

  SendMessageW(window, WM_NCMOUSEMOVE, HTCAPTION, over);
  EXPECT_EQ(skin->CurrentObject(), close);
  EXPECT_TRUE(PixelsMatch(ExpectedButton(ButtonIndex(0), TStateFlags::csHot, rest, nullptr),
                          ScreenPixels(window, bounds), "close-hot"));
  SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, over);
  EXPECT_TRUE(PixelsMatch(ExpectedButton(ButtonIndex(0), TStateFlags::csPressed, rest, nullptr),
                          ScreenPixels(window, bounds), "close-pressed"));
  // Off the button (onto the bare caption) it rests again, and nothing closed.
  SendMessageW(window, WM_NCMOUSEMOVE, HTCAPTION, PointParam(ScreenPoint(window, {120, 2, 122, 4})));
  EXPECT_EQ(skin->CurrentObject(), nullptr);
  EXPECT_TRUE(PixelsMatch(rest, ScreenPixels(window, bounds), "close-rest"));
  Pump();
  EXPECT_TRUE(IsWindowVisible(window));

  // In an inactive window a mouse move over the caption changes nothing.
  SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
  EXPECT_FALSE(skin->IsActive());
  EXPECT_FALSE(skin->HoverTimerEnabled()) << "the hover timer runs only while active";
  SendMessageW(window, WM_NCMOUSEMOVE, HTCAPTION, over);
  EXPECT_EQ(skin->CurrentObject(), nullptr);
}

TEST_F(WinSkinFormTest, AButtonWithoutBuiltInMeaningTellsTheApplication) {
  Data->Model().SysButtons[ButtonIndex(0)]->Action = 5;
  TForm* form = MakeForm();
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  TMessageRecorder recorder(*form);
  TWinSysButton* button = skin->Buttons().at(ButtonIndex(5));
  const LPARAM over = PointParam(ScreenPoint(form->Handle(), button->Bounds));
  SendMessageW(form->Handle(), WM_NCLBUTTONDOWN, HTCAPTION, over);
  SendMessageW(form->Handle(), WM_NCLBUTTONUP, HTCAPTION, over);
  ASSERT_TRUE(PumpUntil([&] { return recorder.Saw(SM_ISSKINNED); }));
  const auto& seen = recorder.Seen();
  const auto it = std::find_if(seen.begin(), seen.end(), [](const TMessage& m) { return m.Msg == SM_ISSKINNED; });
  EXPECT_EQ(it->WParam, 5u);
  EXPECT_TRUE(IsWindowVisible(form->Handle())) << "action 5 does not close";
}

TEST_F(WinSkinFormTest, CaptionButtonsAndDoubleClicksChangeTheWindowState) {
  TForm* form = MakeForm();
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  const HWND window = form->Handle();
  auto click = [&](std::size_t index) {
    TWinSysButton* button = skin->Buttons().at(index);
    ASSERT_TRUE(button->Visible) << "button " << index;
    const LPARAM at = PointParam(ScreenPoint(window, button->Bounds));
    SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, at);
    SendMessageW(window, WM_NCLBUTTONUP, HTCAPTION, at);
  };
  click(ButtonIndex(1, 2));  // maximise
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(window) != 0; }));
  EXPECT_EQ(skin->WindowState(), swsMaximized);
  Pump();
  EXPECT_FALSE(skin->Buttons()[ButtonIndex(1, 2)]->Visible);
  {
    // Maximised, the skinned frame fills its monitor's work area exactly: nothing of it
    // hangs off the screen or under the task bar.
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor));
    RECT shown{};
    GetWindowRect(window, &shown);
    EXPECT_TRUE(EqualRect(&shown, &monitor.rcWork))
        << "window " << shown.left << "," << shown.top << "-" << shown.right << "," << shown.bottom << ", work area "
        << monitor.rcWork.left << "," << monitor.rcWork.top << "-" << monitor.rcWork.right << ","
        << monitor.rcWork.bottom;
  }
  click(ButtonIndex(1, 1));  // restore, shown while maximised
  ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(window); }));
  EXPECT_EQ(skin->WindowState(), swsNormal);

  SendMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION, PointParam(ScreenPoint(window, {120, 2, 122, 4})));
  ASSERT_TRUE(PumpUntil([&] { return IsZoomed(window) != 0; })) << "double click maximises";
  SendMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsZoomed(window); })) << "and restores";
  EXPECT_EQ(ClientSize(window).cx, 320) << "the client area is the same after the round trip";
  EXPECT_EQ(ClientSize(window).cy, 200);

  click(ButtonIndex(2));  // minimise
  ASSERT_TRUE(PumpUntil([&] { return IsIconic(window) != 0; }));
  EXPECT_EQ(skin->WindowState(), swsMinimized);
  SendMessageW(window, WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  ASSERT_TRUE(PumpUntil([&] { return !IsIconic(window); })) << "double click restores a minimised window";
}

TEST_F(WinSkinFormTest, DoubleClickOnAWindowWithoutMaximiseBoxDoesNothing) {
  TForm* form = MakeForm(bsSingle);
  form->SetBorderIcons(biSystemMenu | biMinimize);
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  EXPECT_FALSE(HasFlag(skin->CaptionFlags(), TCaptionFlags::cfMaxBox));
  SendMessageW(form->Handle(), WM_NCLBUTTONDBLCLK, HTCAPTION, 0);
  PumpUntil([] { return false; }, 300);
  EXPECT_FALSE(IsZoomed(form->Handle()));
  EXPECT_EQ(skin->WindowState(), swsNormal);
}

TEST_F(WinSkinFormTest, AMaximisedWindowIsNotDraggedByItsCaption) {
  TForm* form = MakeForm();
  form->HandleNeeded();
  TMessageRecorder below(*form);  // under the skin (on the chain before it): sees what it passes on
  below.Swallow(WM_NCLBUTTONDOWN);
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  const HWND window = form->Handle();
  const LPARAM caption = PointParam(ScreenPoint(window, {120, 2, 122, 4}));
  SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, caption);
  ShowWindow(window, SW_MAXIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return skin->WindowState() == swsMaximized; }));
  SendMessageW(window, WM_NCLBUTTONDOWN, HTCAPTION, PointParam(ScreenPoint(window, {120, 2, 122, 4})));
  std::vector<WPARAM> hits;
  for (const TMessage& m : below.Seen())
    if (m.Msg == WM_NCLBUTTONDOWN) hits.push_back(m.WParam);
  EXPECT_EQ(hits, (std::vector<WPARAM>{HTCAPTION, HTMENU}));
}

TEST_F(WinSkinFormTest, HitTestingLeavesTheSystemItsAnswersAndNamesTheCaption) {
  TForm* form = MakeForm();
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  const HWND window = form->Handle();
  const RECT w = WindowRect(window);
  auto hit = [&](int x, int y) { return SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(w.left + x, w.top + y)); };
  const int width = w.right - w.left;
  EXPECT_EQ(hit(width / 2, skin->Borders().Top + 20), HTCLIENT);
  EXPECT_EQ(hit(width / 2, skin->Borders().Top / 2 + 2), HTCAPTION);
  EXPECT_EQ(hit(width - 1, (w.bottom - w.top) / 2), HTRIGHT) << "the system's sizing border";
}

TEST_F(WinSkinFormTest, TheRegionIsCutFromTheSkinAndBuiltOnlyWhenTheSizeChanges) {
  TForm* form = MakeForm();
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  const HWND window = form->Handle();
  ASSERT_TRUE(skin->HasRegion());
  TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(GetWindowRgn(window, region.Get()), ERROR);
  const RECT w = WindowRect(window);
  const int width = w.right - w.left, height = w.bottom - w.top;
  EXPECT_FALSE(PtInRegion(region.Get(), 0, 0)) << "the rounded top-left corner is cut";
  EXPECT_FALSE(PtInRegion(region.Get(), width - 1, 0));
  EXPECT_TRUE(PtInRegion(region.Get(), width / 2, height / 2));
  EXPECT_TRUE(PtInRegion(region.Get(), width / 2, 1));

  const int builds = skin->RegionBuilds();
  SetWindowPos(window, nullptr, w.left + 5, w.top + 5, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
  Pump();
  EXPECT_EQ(skin->RegionBuilds(), builds) << "moved, same size";
  SetWindowPos(window, nullptr, 0, 0, width + 10, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  Pump();
  EXPECT_EQ(skin->RegionBuilds(), builds + 1) << "wider";

  // A skin change builds it whatever the size; a skin without magenta edges gives the
  // whole window.
  for (auto* edge : {Data->Model().BorderLeft.get(), Data->Model().BorderRight.get(), Data->Model().BorderTop.get(),
                     Data->Model().BorderBottom.get()})
    edge->Trans = 0;
  Data->ApplySkin();
  ASSERT_TRUE(PumpUntil([&] { return Manager().PendingSkinData() == nullptr; }));
  EXPECT_EQ(skin->RegionBuilds(), builds + 2);
  ASSERT_NE(GetWindowRgn(window, region.Get()), ERROR);
  RECT box{};
  GetRgnBox(region.Get(), &box);
  EXPECT_TRUE(PtInRegion(region.Get(), 0, 0));
  EXPECT_EQ(box.right - box.left, width + 10);
  EXPECT_EQ(box.bottom - box.top, height);
}

TEST_F(WinSkinFormTest, TheIconButtonShowsTheWindowsOwnIcon) {
  TForm* form = MakeForm();
  form->HandleNeeded();
  const int size = GetSystemMetrics(SM_CXSMICON);
  const TIconHandle icon = GreenSmallIcon();
  SendMessageW(form->Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon.Get()));
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  TWinSysButton* iconButton = skin->Buttons().at(ButtonIndex(3));
  ASSERT_TRUE(iconButton->Visible);
  const TPixelBitmap shown = ScreenPixels(form->Handle(), iconButton->Bounds);
  long greenPixels = 0;
  for (int y = 0; y < shown.Height(); ++y)
    for (int x = 0; x < shown.Width(); ++x) greenPixels += (shown.Pixel(x, y) & 0xFFFFFF) == 0x00C000;
  EXPECT_GE(greenPixels, long(size) * size * 3 / 4) << "the icon, whatever the button's own picture";
}

TEST_F(WinSkinFormTest, DetachingGivesTheWindowItsOwnFrameBack) {
  TForm* form = MakeForm();
  const HWND window = form->Handle();
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  TMessageRecorder below(window);
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  ASSERT_EQ(ClientSize(window).cx, 320);
  Data->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return Manager().FindFormSkin(window) == nullptr; }));
  Pump();
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX),
            style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
  EXPECT_EQ(ClientSize(window).cx, 320);
  EXPECT_EQ(ClientSize(window).cy, 200);
  TRegionHandle region(CreateRectRgn(0, 0, 0, 0));
  EXPECT_EQ(GetWindowRgn(window, region.Get()), ERROR) << "no region";
  // Only the original procedure (and the hook below the skin) answer now.
  below.Clear();
  EXPECT_EQ(SendMessageW(window, SM_ISSKINNED, 0, 0), 0);
  EXPECT_TRUE(below.Saw(SM_ISSKINNED));
  EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, MAKELPARAM(WindowRect(window).left + 40, WindowRect(window).top + 8)),
            HTCAPTION);
}

TEST_F(WinSkinFormTest, NoHandlesGrowWithActivationHoverAndResizing) {
  TForm* form = MakeForm();
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  const HWND window = form->Handle();
  const LPARAM over = PointParam(ScreenPoint(window, skin->Buttons().at(ButtonIndex(0))->Bounds));
  const LPARAM caption = PointParam(ScreenPoint(window, {120, 2, 122, 4}));
  const RECT w = WindowRect(window);
  // Once round, so that caches filling once are full.
  SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
  SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
  const THandleLeakCheck check;
  for (int i = 0; i < 100; ++i) {
    SendMessageW(window, WM_NCACTIVATE, FALSE, 0);
    SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
    SendMessageW(window, WM_NCMOUSEMOVE, HTCAPTION, over);
    SendMessageW(window, WM_NCMOUSEMOVE, HTCAPTION, caption);
  }
  for (int i = 0; i < 1000; ++i)
    SetWindowPos(window, nullptr, 0, 0, w.right - w.left + i % 7, w.bottom - w.top + i % 5,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  Pump();
  EXPECT_TRUE(check.NothingLeaked());
}

TEST_F(WinSkinFormTest, TheKeyboardKeepsItsWindowCommands) {
  TForm* form = MakeForm();
  form->HandleNeeded();
  TMessageRecorder below(*form);  // under the skin, on the chain before it
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  const HWND window = form->Handle();

  // Alt+Space opens the window menu, though the window hides its system-menu style; a
  // thread timer closes it again.
  SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    EndMenu();
  });
  SendMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  EXPECT_TRUE(below.Saw(WM_INITMENUPOPUP)) << "the window menu showed";

  // Alt+F4 still closes.
  PostMessageW(window, WM_SYSKEYDOWN, VK_F4, LPARAM(1) << 29);
  ASSERT_TRUE(PumpUntil([&] { return below.Saw(WM_CLOSE); }));
  EXPECT_TRUE(PumpUntil([&] { return !IsWindowVisible(window); }));
}

TEST_F(WinSkinFormTest, ANewCaptionNeverShowsTheSystemsCaption) {
  TForm* form = MakeForm();
  form->HandleNeeded();
  // Under the skin: looks at the frame right after the system handled the new text.
  const HWND window = form->Handle();
  TPixelBitmap afterDefault;
  const THookToken below = form->HookWindowProc([&](TMessage& m, TDefaultProc callDefault) {
    callDefault(m);
    if (m.Msg == WM_SETTEXT)
      afterDefault = ScreenPixels(window, {0, 0, WindowRect(window).right - WindowRect(window).left, 20});
  });
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  const TPixelBitmap before = ScreenPixels(window, {0, 0, WindowRect(window).right - WindowRect(window).left, 20});
  form->SetCaption(L"Another caption");
  EXPECT_EQ(skin->CaptionText(), L"Another caption");
  ASSERT_FALSE(afterDefault.Empty());
  EXPECT_TRUE(PixelsMatch(before, afterDefault, "caption-after-settext")) << "the system painted its caption";
  EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & WS_CAPTION, WS_CAPTION);
  form->UnhookWindowProc(below);
}

}  // namespace
}  // namespace kv::test
