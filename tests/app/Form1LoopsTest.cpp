// Long runs of hovering, pressing, Tab and page switches over the skinned main window that
// must leave no handle behind and start no action. (Its pictures: tests/golden.)
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "Form1RunFixture.h"
#include "TestUtil.h"
#include "app/Unit1.h"
#include "skin/controls/SkinControl.h"
#include "skin/windows/ControlSkins.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"
#include "support/HandleCount.h"

namespace kv {
namespace {

using test::PumpUntil;

// Counts every action the window could start, so that none runs for real.
class TQuietForm1 : public TForm1 {
 public:
  int Actions = 0;

 protected:
  void Button1Click() override { ++Actions; }
  void Button2Click() override { ++Actions; }
  void Button3Click() override { ++Actions; }
  void Button4Click() override { ++Actions; }
  void Button5Click() override { ++Actions; }
  void Button6Click() override { ++Actions; }
  void Button7Click() override { ++Actions; }
  void Label2Click() override { ++Actions; }
  void Label3Click() override { ++Actions; }
  void Label5Click() override { ++Actions; }
  void Label6Click() override { ++Actions; }
};

class Form1LoopsTest : public test::TForm1Run<TQuietForm1> {
 protected:
  Form1LoopsTest() : TForm1Run("kv-form1-loops-run") {}

  // Shows the window skinned and waits for its clock to run.
  void ShowSkinned() {
    TForm1Run::ShowSkinned();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(PumpUntil([&] { return FForm->Label7->Caption().starts_with(L"系统时间"); }, 5000))
        << "the clock never showed";
  }

  // The control skin serving a window of the form.
  TSkinControl* SkinOf(HWND wnd) const {
    TWinSkinForm* form = TSkinManage::Instance()->FindFormSkin(FForm->Handle());
    return form ? form->ControlSkins().FindControlSkin(wnd) : nullptr;
  }

  std::string FocusedName() const {
    TWinControl* c = FForm->FocusedControl();
    return c ? c->Name() : std::string("(none)");
  }
};

// Posts a mouse message to a window at a client point.
void PostMouse(HWND wnd, UINT msg, WPARAM keys, int x, int y) {
  PostMessageW(wnd, msg, keys, MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(y)));
}

TEST_F(Form1LoopsTest, HoverPressTabAndPagesLeaveNoHandlesBehind) {
  ShowSkinned();
  ASSERT_FALSE(HasFatalFailure());
  const std::vector<TButton*> buttons = {FForm->Button1, FForm->Button2, FForm->Button3,
                                         FForm->Button4, FForm->Button5, FForm->Button7};
  int interactions = 0;

  // One round: each button hovered, then pressed, dragged off (the framework sees the
  // mouse leave) and released outside, which is no click; four Tabs; four page switches.
  // Twenty interactions.
  auto round = [&] {
    for (TButton* button : buttons) {
      HWND wnd = button->Handle();
      const TSkinControl* skin = SkinOf(wnd);
      ASSERT_NE(skin, nullptr) << button->Name() << " is not skinned";
      RECT r{};
      GetClientRect(wnd, &r);
      const int cx = r.right / 2, cy = r.bottom / 2;

      PostMouse(wnd, WM_MOUSEMOVE, 0, cx, cy);
      test::Pump();
      EXPECT_TRUE(skin->State() & sbHot) << button->Name() << " not hot under the mouse";
      PostMessageW(wnd, WM_MOUSELEAVE, 0, 0);
      test::Pump();
      EXPECT_EQ(skin->State(), 0) << button->Name() << " still hot after the mouse left";
      ++interactions;

      PostMouse(wnd, WM_MOUSEMOVE, 0, cx, cy);
      PostMouse(wnd, WM_LBUTTONDOWN, MK_LBUTTON, cx, cy);
      test::Pump();
      EXPECT_TRUE(skin->State() & sbPressed) << button->Name() << " not pressed";
      PostMouse(wnd, WM_MOUSEMOVE, MK_LBUTTON, -40, -40);
      PostMessageW(wnd, WM_MOUSELEAVE, 0, 0);
      test::Pump();
      EXPECT_EQ(skin->State(), 0) << button->Name() << " still pressed off it";
      PostMouse(wnd, WM_LBUTTONUP, 0, -40, -40);
      test::Pump();
      EXPECT_EQ(GetCapture(), nullptr) << button->Name() << " kept the mouse";
      ++interactions;
    }
    for (int i = 0; i < 4; ++i) {
      HWND focus = GetFocus();
      ASSERT_NE(focus, nullptr);
      const std::string before = FocusedName();
      PostMessageW(focus, WM_KEYDOWN, VK_TAB, 1);
      test::Pump();
      EXPECT_NE(FocusedName(), before) << "Tab did not move the focus";
      ++interactions;
    }
    for (int i = 0; i < 4; ++i) {
      const int next = (FForm->PageControl1->ActivePageIndex() + 1) % 4;
      FForm->PageControl1->SetActivePageIndex(next);
      test::Pump();
      EXPECT_EQ(FForm->PageControl1->ActivePageIndex(), next);
      ++interactions;
    }
  };

  round();  // warm-up: caches, hint window, first paints of every page
  ASSERT_FALSE(HasFailure());
  PumpUntil([] { return false; }, 300);
  interactions = 0;
  const test::THandleLeakCheck leaks;
  while (interactions < 1000 && !HasFailure()) round();
  PumpUntil([] { return false; }, 300);
  EXPECT_EQ(interactions, 1000);
  EXPECT_EQ(FForm->Actions, 0) << "a press released outside its button started an action";
  EXPECT_TRUE(leaks.NothingLeaked());
}

}  // namespace
}  // namespace kv
