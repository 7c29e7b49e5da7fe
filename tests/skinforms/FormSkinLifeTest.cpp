// When form skins are freed: a skin change while one of the skin's handlers runs a modal
// loop (the menu bar's drop-down, the system menu, the move loop), and a skin data
// component that goes while its skins and a popup skin are in place.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "ModalLoopDriver.h"
#include "SkinFormFixture.h"
#include "framework/Menus.h"
#include "skin/menus/WinSkinMenu.h"

namespace kv::test {
namespace {

class FormSkinLifeTest : public TSkinFormTest {
 protected:
  void SetUp() override {
    TSkinFormTest::SetUp();
    Data = AddSkinData();
  }

  TForm* MakeMenuForm() {
    TForm* form = MakeForm(bsSizeable, 360, 200);
    auto* menu = form->Make<TMainMenu>();
    menu->Items()->Add(L"&File")->Add(L"&Open");
    menu->Items()->Add(L"&Edit")->Add(L"&Copy");
    form->SetMenu(menu);
    return form;
  }

  // A point on the caption, clear of the caption buttons.
 public:
  static LPARAM CaptionPoint(HWND window) {
    const RECT r = WindowRect(window);
    return MAKELPARAM(r.left + (r.right - r.left) / 3, r.top + 8);
  }

  TSkinData* Data = nullptr;
};

// A modal loop started by a handler of the form skin: how it is entered, how the test
// sees it running, and how it is ended once the skin has been switched off inside it.
struct TLoopCase {
  const char* Name;
  std::function<void(TWinSkinForm&, HWND)> Enter;
  std::function<bool(HWND)> Running;
  std::function<void(HWND)> Leave;
};

const TLoopCase kLoopCases[] = {
    {"menu bar drop-down",
     [](TWinSkinForm& skin, HWND) { skin.PostMenuButtonClick(*skin.MenuBar()->Buttons()[0]); },
     [](HWND) { return TrackedMenuButtonIndex() == 0 && !OpenDropDowns().empty(); }, [](HWND) { EndMenu(); }},
    {"system menu",
     [](TWinSkinForm&, HWND window) {
       PostMessageW(window, WM_NCRBUTTONDOWN, HTCAPTION, FormSkinLifeTest::CaptionPoint(window));
     },
     [](HWND) { return !OpenDropDowns().empty(); }, [](HWND) { EndMenu(); }},
    {"move loop", [](TWinSkinForm&, HWND window) { PostMessageW(window, WM_SYSCOMMAND, SC_MOVE, 0); },
     [](HWND window) { return GetCapture() == window; },
     [](HWND window) {
       PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
       ReleaseCapture();
     }},
};

TEST_F(FormSkinLifeTest, NoSkinChosenInsideAModalLoopFreesTheSkinOnlyAfterTheLoop) {
  for (const TLoopCase& loop : kLoopCases) {
    SCOPED_TRACE(loop.Name);
    if (!Data->Active()) {
      Data->SetActive(true);
      Manager().RunPendingAction();
    }
    TForm* form = MakeMenuForm();
    TWinSkinForm* skin = ShowSkinned(form);
    ASSERT_NE(skin, nullptr);
    ASSERT_NE(skin->MenuBar(), nullptr);
    const HWND window = form->Handle();
    const int freedInUse = TWinSkinForm::FreedInUseCount();
    bool switchedInside = false;
    TMenuDriver driver(window, {
                                   {"enter", nullptr, [&] { loop.Enter(*skin, window); }},
                                   {"running", [&] { return loop.Running(window); },
                                    [&] {
                                      switchedInside = skin->InUse();
                                      Data->SetActive(false);
                                      Manager().RunPendingAction();  // the action timer's tick
                                    }},
                                   {"leave", nullptr, [&] { loop.Leave(window); }},
                               });
    ASSERT_TRUE(PumpUntil([&] { return driver.Done() && OpenDropDowns().empty() && !GetCapture(); }, 12000));
    EXPECT_TRUE(driver.Finished()) << "stuck at: " << driver.Stuck();
    EXPECT_TRUE(switchedInside) << "the switch ran while a handler of the skin was running";
    EXPECT_EQ(TWinSkinForm::FreedInUseCount(), freedInUse) << "freed while its handler still ran";
    EXPECT_EQ(TWinSkinForm::PendingFreeCount(), 0u) << "freed once the loop returned";
    EXPECT_TRUE(Manager().FormSkins().empty());
    Pump();
    EXPECT_TRUE(ShowsPlatformFrame(window));
    EXPECT_NE(GetMenu(window), nullptr) << "the menu given back";
    App->DestroyComponent(form);
  }
}

TEST_F(FormSkinLifeTest, RemovingASkinDataComponentFreesTheSkinsThatUseItAndStopsTheTimer) {
  TForm* form = MakeForm();
  ASSERT_NE(ShowSkinned(form), nullptr);
  const HWND window = form->Handle();
  // A form with a component of its own keeps its skin.
  TForm* own = MakeForm();
  AddSkinData(sfOnlyThisForm, true, own);
  ASSERT_NE(Manager().FindFormSkin(own->Handle()), nullptr);

  HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING, 1, L"Item");
  bool popupSkinned = false;
  std::size_t skinsLeft = 99, popupsLeft = 99;
  bool timerLeft = true;
  TMenuDriver driver(window, {
                                 {"popup open", [] { return !OpenDropDowns().empty(); },
                                  [&] {
                                    popupSkinned = Manager().PopupSkinCount() == 1;
                                    Data->ApplySkin();  // an action waiting for the timer
                                    Host->DestroyComponent(Data);
                                    Data = nullptr;
                                    skinsLeft = Manager().FormSkins().size();
                                    popupsLeft = Manager().PopupSkinCount();
                                    timerLeft = Manager().ActionTimer().Enabled();
                                  }},
                                 {"close", nullptr, [] { EndMenu(); }},
                             });
  const RECT r = WindowRect(window);
  TrackPopupMenu(popup, TPM_RIGHTBUTTON, r.left + 40, r.top + 60, 0, window, nullptr);
  DestroyMenu(popup);
  EXPECT_TRUE(driver.Finished()) << "stuck at: " << driver.Stuck();
  EXPECT_TRUE(popupSkinned);
  EXPECT_EQ(skinsLeft, 1u) << "only the form with a component of its own keeps a skin";
  EXPECT_EQ(popupsLeft, 0u);
  EXPECT_FALSE(timerLeft) << "nothing left to do";
  EXPECT_EQ(Manager().PendingAction(), saNone);
  EXPECT_EQ(Manager().PendingSkinData(), nullptr);
  Pump();
  EXPECT_TRUE(ShowsPlatformFrame(window));
  ASSERT_EQ(Manager().FormSkins().size(), 1u);
  EXPECT_EQ(Manager().FormSkins().front()->Window(), own->Handle());
}

}  // namespace
}  // namespace kv::test
