// Accessibility under the skin: tabbing through the Buttons page shows a focus ring on
// every control the focus reaches, and hiding the cues (what a mouse click does) takes the
// ring away again, the next Tab bringing it back; a program started in high contrast
// shows the platform's look until high contrast goes.
#include <gtest/gtest.h>
#include <windows.h>

#include <set>
#include <string>

#include "GalleryFixture.h"
#include "skin/windows/WinSkinForm.h"
#include "support/PixelCheck.h"
#include "support/UiStateStandIn.h"

namespace kv {
namespace {

using test::Pump;
using test::PumpUntil;

class GalleryCuesTest : public test::GalleryTest {
 protected:
  void SetUp() override {
    GalleryTest::SetUp();
    ASSERT_TRUE(PumpUntil(
        [this] {
          TSkinManage* manager = TSkinManage::Instance();
          TWinSkinForm* skin = manager ? manager->FindFormSkin(Gallery->Handle()) : nullptr;
          return skin && skin->SkinState() == fsReady;
        },
        10000))
        << "never skinned";
  }

  // The control as it shows once every paint waiting for it is done.
  static TPixelBitmap Settled(HWND wnd) {
    RedrawWindow(wnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
    return test::CaptureWindow(wnd);
  }

  // What the focused window is called in a failure: its control's name, else its class.
  static std::string NameOf(HWND wnd) {
    TWinControl* control = TWinControl::FindControl(wnd);
    if (control && !control->Name().empty()) return control->Name();
    const std::wstring cls = test::ClassNameOf(wnd);
    return std::string(cls.begin(), cls.end());
  }
};

// Who draws a control's ring: the skin over its face, or the platform under the skin's mark
// (a check box's or radio button's ring is the platform's, around its text).
enum TRingBy { rbSkin, rbPlatform };
struct TStop {
  const char* Name;
  TRingBy By;
};

TEST_F(GalleryCuesTest, TabbingRingsEachFocusedControlAndHiddenCuesShowNone) {
  const TStop stops[] = {{"ButtonNormal", rbSkin},    {"ButtonDefault", rbSkin},      {"BitBtnLeft", rbSkin},
                         {"BitBtnRight", rbSkin},     {"BitBtnTop", rbSkin},          {"BitBtnBottom", rbSkin},
                         {"ButtonInGroup", rbSkin},   {"CheckUnchecked", rbPlatform}, {"CheckChecked", rbPlatform},
                         {"CheckFlat", rbPlatform},   {"CheckInGroup", rbPlatform},   {"RadioChecked", rbPlatform}};
  // The platform's bookkeeping of the cues, which Wine lacks, stands in for it.
  const test::TUiStateStandIn uiState(Gallery->Handle());
  Gallery->Pages()->SetActivePageIndex(0);
  Pump();
  const HWND start = Wnd("ButtonNormal");
  SetFocus(start);
  Pump();
  std::set<std::string> visited;
  for (int step = 0; step < 60; ++step) {
    const HWND focus = GetFocus();
    ASSERT_NE(focus, nullptr);
    const std::string name = NameOf(focus);
    SCOPED_TRACE(name);
    const TStop* stop = nullptr;
    for (const TStop& s : stops)
      if (name == s.Name) stop = &s;
    if (stop) {
      visited.insert(name);
      const TPixelBitmap shown = Settled(focus);
      if (stop->By == rbSkin) {
        // What a mouse click does: the cues hide, the focus stays.
        SendMessageW(Gallery->Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEFOCUS), 0);
        ASSERT_TRUE(SendMessageW(focus, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
        EXPECT_TRUE(test::DiffersByDottedRing(shown, Settled(focus), "cue_" + name));
      } else {
        // Wine's buttons keep no cue state of their own (they ask the default procedure,
        // which always answers "shown"): here the ring is only seen to come with the focus.
        SetFocus(Gallery->Handle());
        EXPECT_TRUE(test::DiffersByDottedRing(shown, Settled(focus), "cue_" + name));
        SetFocus(focus);
        Pump();
      }
    }
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    Pump();
    if (GetFocus() == start) break;
  }
  for (const TStop& stop : stops) EXPECT_TRUE(visited.count(stop.Name)) << stop.Name << " was never reached";
}

// The system's answer for high contrast stood in for (Wine does not switch it), from
// before the gallery and its engine start.
class GalleryHighContrastStartTest : public test::GalleryTest {
 protected:
  void SetUp() override {
    TSystemWatch::SetHighContrastReader([this] { return Contrast; });
    GalleryTest::SetUp();
  }
  void TearDown() override {
    GalleryTest::TearDown();
    TSystemWatch::SetHighContrastReader({});
  }
  bool Contrast = true;
};

TEST_F(GalleryHighContrastStartTest, StartsInThePlatformsLookAndTakesTheSkinWhenItGoes) {
  TSkinManage* manager = TSkinManage::Instance();
  ASSERT_NE(manager, nullptr);
  // A window skins as it is first activated, or on the action the component asked for.
  ASSERT_TRUE(PumpUntil([&] { return manager->ActivationCounter() > 0; }, 5000)) << "never activated";
  manager->RunPendingAction();
  EXPECT_EQ(manager->FindFormSkin(Gallery->Handle()), nullptr);
  EXPECT_EQ(GetMenu(Gallery->Handle()), Gallery->MainMenu()->Handle());
  EXPECT_EQ(Gallery->SkinChoice(), 0);
  Contrast = false;
  SendMessageW(manager->WatchWindow(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  EXPECT_TRUE(PumpUntil([&] { return manager->FindFormSkin(Gallery->Handle()) != nullptr; }, 5000));
  EXPECT_EQ(GetMenu(Gallery->Handle()), nullptr) << "the skin's menu bar stands for the platform's";
}

}  // namespace
}  // namespace kv
