// What the user could catch between two settled pictures of the main window's controls:
// every action here (page switches, a check box, a flat edit) is watched message by
// message, and no picture read in between may show a pixel that is neither the control's
// picture before the action nor the one it settles on (the platform's own tabs, check
// mark or edit border, painted just before the skin covers them).
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "Form1RunFixture.h"
#include "TestUtil.h"
#include "app/Unit1.h"
#include "framework/StdCtrls.h"
#include "skin/gdi/SkinGdi.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"
#include "support/PaintWatch.h"
#include "support/PixelCheck.h"

namespace kv {
namespace {

using test::PumpUntil;
using test::TWatchedPart;

class Form1FlickerTest : public test::TForm1Run<TForm1> {
 protected:
  Form1FlickerTest() : TForm1Run("kv-form1-flicker-run") {}

  // Lets whatever the last step started finish painting.
  void Quiet() {
    RedrawWindow(FForm->Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpUntil([] { return false; }, 300);
  }

  // The tab strip and the page frame: the page control less the page on it.
  TWatchedPart Tabs() const {
    HWND wnd = FForm->PageControl1->Handle();
    RECT client{};
    GetClientRect(wnd, &client);
    RECT display = client;
    SendMessageW(wnd, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    return {"PageControl1's tabs and frame", wnd, test::AroundAreas(client.right, client.bottom, display)};
  }
  // The column a check box's mark stands in.
  TWatchedPart Mark(const char* name) const {
    HWND wnd = FForm->Control<TWinControl>(name)->Handle();
    RECT r{};
    GetWindowRect(wnd, &r);
    return {std::string(name) + "'s mark", wnd, {{0, 0, 15, r.bottom - r.top}}};
  }
  // A flat edit's one-pixel ring.
  TWatchedPart Ring(const char* name) const {
    HWND wnd = FForm->Control<TWinControl>(name)->Handle();
    RECT r{};
    GetWindowRect(wnd, &r);
    return {std::string(name) + "'s ring", wnd, test::RingAreas(r.right - r.left, r.bottom - r.top)};
  }

  HWND HandleOf(const char* name) const { return FForm->Control<TWinControl>(name)->Handle(); }
  bool Checked(const char* name) const { return FForm->Control<TCheckBox>(name)->Checked(); }
};

void PostClick(HWND wnd, POINT p) {
  PostMessageW(wnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
  PostMessageW(wnd, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
}

POINT TabCentre(HWND tabs, int index) {
  RECT r{};
  SendMessageW(tabs, TCM_GETITEMRECT, WPARAM(index), reinterpret_cast<LPARAM>(&r));
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST_F(Form1FlickerTest, NoPictureBetweenTheSettledOnesShowsThePlatformsOwnParts) {
  ShowSkinned();
  ASSERT_FALSE(HasFatalFailure());
  TPageControl* pages = FForm->PageControl1;
  // Each action: what to set up first, what to watch, the action, and what it must have done.
  struct TAction {
    const char* Name;
    std::function<void()> Prepare;
    std::function<std::vector<TWatchedPart>()> Parts;
    std::function<void()> Act;
    std::function<bool()> Done;
    const char* RingOf = nullptr;  // a flat edit that must settle on the skin's ring
  };
  std::optional<test::THeldKeys> control;  // held until the action has settled
  bool wasChecked = false;
  std::wstring textBefore;
  const TAction actions[] = {
      {"page switch by a click on a tab", [&] { pages->SetActivePageIndex(0); }, [&] { return std::vector{Tabs()}; },
       [&] { PostClick(pages->Handle(), TabCentre(pages->Handle(), 1)); },
       [&] { return pages->ActivePageIndex() == 1; }},
      {"page switch by Ctrl+Tab",
       [&] {
         pages->SetActivePageIndex(1);
         pages->SetFocus();
       },
       [&] { return std::vector{Tabs()}; },
       [&] {
         control.emplace(std::initializer_list<BYTE>{VK_CONTROL});
         PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
       },
       [&] { return pages->ActivePageIndex() == 2; }},
      {"check box click",
       [&] {
         pages->SetActivePageIndex(0);
         wasChecked = Checked("CheckBox1");
       },
       [&] { return std::vector{Mark("CheckBox1")}; },
       [&] {
         RECT r{};
         GetClientRect(HandleOf("CheckBox1"), &r);
         PostClick(HandleOf("CheckBox1"), {6, r.bottom / 2});
       },
       [&] { return Checked("CheckBox1") != wasChecked; }},
      {"programmatic check", [&] { wasChecked = Checked("CheckBox1"); }, [&] { return std::vector{Mark("CheckBox1")}; },
       [&] { FForm->Control<TCheckBox>("CheckBox1")->SetChecked(!wasChecked); },
       [&] { return Checked("CheckBox1") != wasChecked; }},
      {"focus into a flat edit", [&] { SetFocus(HandleOf("CheckBox1")); }, [&] { return std::vector{Ring("Edit1")}; },
       [&] { SetFocus(HandleOf("Edit1")); }, [&] { return GetFocus() == HandleOf("Edit1"); }, "Edit1"},
      {"typing in a flat edit",
       [&] {
         SetFocus(HandleOf("Edit1"));
         SendMessageW(HandleOf("Edit1"), EM_SETSEL, 0, -1);
         textBefore = FForm->Control<TEdit>("Edit1")->Text();
       },
       [&] { return std::vector{Ring("Edit1")}; }, [&] { PostMessageW(HandleOf("Edit1"), WM_CHAR, L'5', 1); },
       [&] { return FForm->Control<TEdit>("Edit1")->Text() != textBefore; }, "Edit1"},
      {"focus out of a flat edit", [&] { SetFocus(HandleOf("Edit1")); }, [&] { return std::vector{Ring("Edit1")}; },
       [&] { SetFocus(HandleOf("CheckBox1")); }, [&] { return GetFocus() == HandleOf("CheckBox1"); }, "Edit1"},
  };
  const std::uint32_t shadow = PixelOf(ResolveColor(FForm->SkinData1->Model().Colours.ButtonShadowColour));
  for (const TAction& action : actions) {
    SCOPED_TRACE(action.Name);
    action.Prepare();
    Quiet();
    test::TPaintWatch watch(action.Parts());
    action.Act();
    EXPECT_TRUE(watch.Settle()) << "never settled";
    control.reset();
    EXPECT_TRUE(action.Done()) << "the action did not happen";
    EXPECT_EQ(watch.BadPictures(), 0) << watch.Pictures() << " pictures read, the bad ones:\n" << watch.Report();
    if (action.RingOf) {
      const TPixelBitmap shot = test::CaptureWindow(HandleOf(action.RingOf));
      EXPECT_TRUE(test::RingIs(shot, {0, 0, shot.Width(), shot.Height()}, shadow, action.RingOf));
    }
  }
}

}  // namespace
}  // namespace kv
