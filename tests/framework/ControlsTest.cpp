// Controls under Wine: hooks in front of a control, reflection, window-less controls
// painted and fed by their parent, and the framework notifications.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <memory>
#include <vector>

#include "TestUtil.h"
#include "framework/ComCtrls.h"
#include "framework/ExtCtrls.h"
#include "framework/Forms.h"
#include "framework/StdCtrls.h"
#include "support/MessageRecorder.h"
#include "support/PixelCheck.h"

namespace kv {
namespace {

using test::PumpUntil;

using test::TMessageRecorder;

class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App = std::make_unique<TApplication>();
    App->Initialize();
    App->SetTitle(L"Framework test");
    Form = App->CreateForm<TForm>();
    Form->SetBorderStyle(bsDialog);
    Form->SetPosition(poDesktopCenter);
    Form->SetClientSize(240, 160);
    Form->SetColor(0xFF0000);  // blue
  }
  void ShowForm() {
    Form->Show();
    Form->Update();
    test::Pump();
  }
  // A button message at a client point. The real cursor stays where it is: moving it
  // makes Wine send moves of its own, at times of its own.
  void MouseAt(HWND wnd, UINT msg, int x, int y, WPARAM keys = 0) {
    PostMessageW(wnd, msg, keys, MAKELPARAM(x, y));
    test::Pump();
  }
  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
};

TEST_F(ControlsTest, AHookSeesReflectedClicksAndCanBeRemoved) {
  auto* button = Form->Make<TButton>();
  button->SetParent(Form);
  button->SetBounds(10, 10, 80, 25);
  int clicks = 0;
  button->OnClick = [&](TComponent*) { ++clicks; };
  ShowForm();

  TMessageRecorder skin(*button);
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  ASSERT_TRUE(skin.Saw(CN_COMMAND)) << "the parent reflects WM_COMMAND as 0xBD11";
  for (const TMessage& m : skin.Seen())
    if (m.Msg == CN_COMMAND) {
      EXPECT_EQ(HIWORD(m.WParam), BN_CLICKED);
    }

  // A handler that keeps a message from the control: the text stays.
  skin.Swallow(WM_SETTEXT);
  SendMessageW(button->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"changed"));
  EXPECT_EQ(button->Caption(), L"");
  skin.StopSwallowing();

  skin.Stop();
  const std::size_t before = skin.Seen().size();
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(skin.Seen().size(), before) << "removed: the control alone sees messages";
}

TEST_F(ControlsTest, NotifyIsReflectedToThePageControl) {
  auto* pages = Form->Make<TPageControl>();
  pages->SetParent(Form);
  pages->SetBounds(0, 0, 240, 160);
  pages->SetButtons(true);
  for (const wchar_t* caption : {L"One", L"Two"}) {
    auto* sheet = Form->Make<TTabSheet>();
    sheet->SetCaption(caption);
    sheet->SetPageControl(pages);
  }
  ShowForm();
  TMessageRecorder skin(*pages);
  RECT tab{};
  SendMessageW(pages->Handle(), TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&tab));
  const int x = (tab.left + tab.right) / 2, y = (tab.top + tab.bottom) / 2;
  MouseAt(pages->Handle(), WM_LBUTTONDOWN, x, y, MK_LBUTTON);
  MouseAt(pages->Handle(), WM_LBUTTONUP, x, y);
  ASSERT_TRUE(PumpUntil([&] { return pages->ActivePageIndex() == 1; }));
  EXPECT_TRUE(skin.Saw(CN_NOTIFY)) << "0xBC4E reaches the page control's WindowProc";
  EXPECT_FALSE(pages->Pages(0)->Visible());
  EXPECT_TRUE(pages->Pages(1)->Visible());
}

TEST_F(ControlsTest, WindowlessControlsArePaintedByTheParentInZOrder) {
  auto picture = std::make_unique<TBitmap>(60, 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) picture->ScanLine(y)[x] = 0x00FF00;  // green
  auto* image = Form->Make<TImage>();
  image->SetParent(Form);
  image->SetBounds(10, 10, 60, 40);
  image->Picture().SetGraphic(std::move(picture));
  auto* clear = Form->Make<TLabel>();  // transparent, over the picture
  clear->SetParent(Form);
  clear->SetBounds(20, 20, 30, 14);
  clear->SetTransparent(true);
  auto* solid = Form->Make<TLabel>();  // opaque red, half over the picture
  solid->SetParent(Form);
  solid->SetBounds(60, 30, 30, 14);
  solid->SetColor(0x0000FF);
  ShowForm();
  HWND wnd = Form->Handle();
  ASSERT_TRUE(PumpUntil([&] { return test::ScreenPixel(wnd, 15, 15) == 0x00FF00; }));
  EXPECT_EQ(test::ScreenPixel(wnd, 48, 32), 0x00FF00u) << "the picture shows through a transparent label";
  EXPECT_EQ(test::ScreenPixel(wnd, 65, 35), 0xFF0000u) << "an opaque label lies above the picture";
  EXPECT_EQ(test::ScreenPixel(wnd, 85, 42), 0xFF0000u);
  EXPECT_EQ(test::ScreenPixel(wnd, 200, 120), 0x0000FFu) << "the form's own colour";

  // Composed off-screen, the result is the same.
  Form->SetDoubleBuffered(true);
  Form->Repaint();
  EXPECT_EQ(test::ScreenPixel(wnd, 48, 32), 0x00FF00u);
  EXPECT_EQ(test::ScreenPixel(wnd, 65, 35), 0xFF0000u);

  // The whole client area, on the screen and printed (PrintWindow draws the window-less
  // children too): blue form, green picture, the opaque label red above it.
  TPixelBitmap expected(240, 160, 0x0000FF);
  expected.FillRect({10, 10, 70, 50}, 0x00FF00);
  expected.FillRect({60, 30, 90, 44}, 0xFF0000);
  EXPECT_TRUE(test::PixelsMatch(expected, test::CaptureClient(wnd), "windowless-screen"));
  EXPECT_TRUE(test::PixelsMatch(expected, test::PrintedWindow(wnd, true), "windowless-printed"));

  solid->SetVisible(false);
  Form->Update();
  EXPECT_EQ(test::ScreenPixel(wnd, 65, 35), 0x00FF00u);
  EXPECT_EQ(test::ScreenPixel(wnd, 85, 42), 0x0000FFu);
}

TEST_F(ControlsTest, ReflectedColourMessagesPaintAControlInItsOwnColour) {
  auto* check = Form->Make<TCheckBox>();
  check->SetParent(Form);
  check->SetBounds(10, 10, 120, 20);
  check->SetCaption(L"x");
  ShowForm();
  HWND wnd = check->Handle();
  // Parent colour first (the form's blue), then its own.
  ASSERT_TRUE(PumpUntil([&] { return test::ScreenPixel(wnd, 110, 10) == 0x0000FFu; }));
  TMessageRecorder skin(*check);
  check->SetColor(0x00FFFF);  // yellow
  check->Repaint();
  EXPECT_EQ(test::ScreenPixel(wnd, 110, 10), 0xFFFF00u);
  EXPECT_TRUE(skin.Saw(CN_CTLCOLORSTATIC)) << "a check box asks its parent for the static colours";
}

TEST_F(ControlsTest, WindowlessControlsGetClicksMovesAndEnterLeave) {
  auto* label = Form->Make<TLabel>();
  label->SetParent(Form);
  label->SetBounds(20, 20, 60, 16);
  label->SetCaption(L"Click me");
  int clicks = 0;
  std::string notes;  // 'E' enter, 'L' leave, in order
  POINT lastMove{-1, -1};
  std::vector<POINT> formMoves;
  label->OnClick = [&](TComponent*) { ++clicks; };
  label->OnMouseEnter = [&](TComponent*) { notes += 'E'; };
  label->OnMouseLeave = [&](TComponent*) { notes += 'L'; };
  label->OnMouseMove = [&](TComponent*, unsigned, int x, int y) { lastMove = {x, y}; };
  Form->OnMouseMove = [&](TComponent*, unsigned, int x, int y) { formMoves.push_back({x, y}); };
  ShowForm();
  TMessageRecorder recorder(*label);
  HWND wnd = Form->Handle();
  auto alternates = [&] {
    for (std::size_t i = 0; i < notes.size(); ++i)
      if (notes[i] != (i % 2 ? 'L' : 'E')) return false;
    return true;
  };

  ASSERT_TRUE(test::MoveCursorTo(wnd, 150, 100, [&] { return MouseControl() == Form; }));
  EXPECT_FALSE(formMoves.empty()) << "a move over the form's own surface is the form's";
  ASSERT_TRUE(test::MoveCursorTo(wnd, 30, 25, [&] { return MouseControl() == label; }));
  ASSERT_FALSE(notes.empty());
  EXPECT_TRUE(alternates()) << notes;
  EXPECT_EQ(notes.back(), 'E');
  EXPECT_TRUE(recorder.Saw(CM_MOUSEENTER));
  EXPECT_EQ(lastMove.x, 10);  // in the label's own coordinates
  EXPECT_EQ(lastMove.y, 5);
  const RECT bounds = label->BoundsRect();
  for (POINT p : formMoves) EXPECT_FALSE(PtInRect(&bounds, p)) << "a move over the label is not the form's";

  MouseAt(wnd, WM_LBUTTONDOWN, 30, 25, MK_LBUTTON);
  MouseAt(wnd, WM_LBUTTONUP, 32, 26);
  EXPECT_EQ(clicks, 1);
  MouseAt(wnd, WM_LBUTTONDOWN, 30, 25, MK_LBUTTON);
  MouseAt(wnd, WM_LBUTTONUP, 150, 100);  // released outside: no click
  EXPECT_EQ(clicks, 1);

  ASSERT_TRUE(test::MoveCursorTo(wnd, 150, 100, [&] { return MouseControl() == Form; }));
  EXPECT_TRUE(alternates()) << notes;
  EXPECT_EQ(notes.back(), 'L');
  EXPECT_TRUE(recorder.Saw(CM_MOUSELEAVE));

  label->SetEnabled(false);
  MouseAt(wnd, WM_LBUTTONDOWN, 30, 25, MK_LBUTTON);
  MouseAt(wnd, WM_LBUTTONUP, 30, 25);
  EXPECT_EQ(clicks, 1) << "a disabled label takes no clicks";
}

TEST_F(ControlsTest, FrameworkNotificationsReachTheControls) {
  auto* first = Form->Make<TEdit>();
  first->SetParent(Form);
  first->SetBounds(10, 10, 100, 20);
  auto* second = Form->Make<TEdit>();
  second->SetParent(Form);
  second->SetBounds(10, 40, 100, 20);
  ShowForm();
  TMessageRecorder firstNotes(*first), formNotes(*Form);

  first->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return first->Focused(); }));
  second->SetFocus();
  ASSERT_TRUE(PumpUntil([&] { return second->Focused(); }));
  EXPECT_TRUE(firstNotes.Saw(CM_EXIT)) << "focus leaving a control: 0xB01B";

  first->SetEnabled(false);
  EXPECT_TRUE(firstNotes.Saw(CM_ENABLEDCHANGED));
  EXPECT_FALSE(IsWindowEnabled(first->Handle()));
  firstNotes.Clear();
  EnableWindow(first->Handle(), TRUE);  // from outside the framework
  EXPECT_TRUE(first->Enabled());
  EXPECT_TRUE(firstNotes.Saw(CM_ENABLEDCHANGED));

  // Handled by the form, so the system never opens the window menu for Alt+X.
  formNotes.Swallow(CM_DIALOGCHAR, 1);
  PostMessageW(second->Handle(), WM_SYSCHAR, 'x', 1 << 29);
  ASSERT_TRUE(PumpUntil([&] { return formNotes.Saw(CM_DIALOGCHAR); }));

  Form->SetMenu(Form->Make<TMainMenu>());
  EXPECT_TRUE(formNotes.Saw(CM_MENUCHANGED));
}

TEST_F(ControlsTest, ReleaseFreesTheFormAfterItsMessages) {
  auto* other = App->CreateForm<TForm>();
  other->SetClientSize(100, 50);
  other->Show();
  std::vector<UINT> seen;
  other->HookWindowProc([&seen](TMessage& m, TDefaultProc callDefault) {
    seen.push_back(m.Msg);
    callDefault(m);
  });
  ASSERT_EQ(App->FormCount(), 2);
  other->Release();
  ASSERT_TRUE(PumpUntil([&] { return App->FormCount() == 1; }));
  EXPECT_NE(std::find(seen.begin(), seen.end(), CM_RELEASE), seen.end());
  EXPECT_EQ(App->Forms(0), Form);
}

TEST_F(ControlsTest, AnErrorInAHandlerShowsTheErrorBoxAndTheProgramGoesOn) {
  auto* button = Form->Make<TButton>();
  button->SetParent(Form);
  button->SetBounds(10, 10, 80, 25);
  button->OnClick = [](TComponent*) { throw std::runtime_error("Unable to write to C:\\x\\Koravent.ini"); };
  ShowForm();
  auto box = test::AnswerMessageBox(L"Framework test");
  SendMessageW(button->Handle(), BM_CLICK, 0, 0);
  const test::TBoxSeen seen = box.get();
  ASSERT_TRUE(seen.Found);
  EXPECT_EQ(seen.Text, L"Unable to write to C:\\x\\Koravent.ini.");
  EXPECT_TRUE(IsWindow(Form->Handle()));
}

TEST_F(ControlsTest, CursorOfAWindowlessControlIsSetByItsParent) {
  auto* label = Form->Make<TLabel>();
  label->SetParent(Form);
  label->SetBounds(20, 20, 60, 16);
  label->SetCursor(crMultiDrag);
  ShowForm();
  HWND wnd = Form->Handle();
  ASSERT_TRUE(test::MoveCursorTo(wnd, 30, 25, [&] { return MouseControl() == label; }));
  const LRESULT handled =
      SendMessageW(wnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(wnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  EXPECT_EQ(handled, TRUE);
  EXPECT_EQ(GetCursor(), CursorHandle(crMultiDrag));
}

TEST_F(ControlsTest, AMemoShowsTheScrollBarsItIsGivenAndKeepsItsTextAcrossTheChange) {
  auto* memo = Form->Make<TMemo>();
  memo->SetParent(Form);
  memo->SetBounds(10, 10, 120, 60);
  for (int i = 0; i < 20; ++i) memo->Lines().Add(L"a line long enough to run past the memo's right edge");
  ShowForm();
  const auto style = [&] { return GetWindowLongPtrW(memo->Handle(), GWL_STYLE); };
  EXPECT_FALSE(style() & (WS_HSCROLL | WS_VSCROLL));
  EXPECT_FALSE(style() & ES_AUTOHSCROLL) << "lines wrap";
  memo->SetScrollBars(ssVertical);
  EXPECT_EQ(style() & (WS_HSCROLL | WS_VSCROLL), WS_VSCROLL);
  memo->SetScrollBars(ssBoth);
  EXPECT_EQ(style() & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL | WS_VSCROLL);
  EXPECT_TRUE(style() & ES_AUTOHSCROLL) << "lines run on";
  EXPECT_EQ(SendMessageW(memo->Handle(), EM_GETLINECOUNT, 0, 0), 20) << "one line each, none wrapped";
  memo->SetScrollBars(ssHorizontal);
  EXPECT_EQ(style() & (WS_HSCROLL | WS_VSCROLL), WS_HSCROLL);
  EXPECT_EQ(memo->Lines().Count(), 20);
}

}  // namespace
}  // namespace kv
