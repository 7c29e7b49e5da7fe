// The editor's window, frame included, against its stored pictures: its four pages in its
// own skin and in Midnight (loaded from the gallery's skin file), active and inactive, at
// the display scale of the prefix it runs in.
// The clock label is masked; the animated pictures hold their first frame.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <string>

#include "Form1RunFixture.h"
#include "GoldenPicture.h"
#include "TestUtil.h"
#include "app/Unit1.h"
#include "pictures/win/GifImage.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"
#include "support/PixelCheck.h"
#include "support/ScaledFrame.h"
#include "support/ScaledLayout.h"

namespace kv {
namespace {

using test::PumpUntil;

class EditorGoldenTest : public test::TForm1Run<TForm1> {
 protected:
  EditorGoldenTest() : TForm1Run("kv-golden-editor-run") {}

  const TWinSkinForm* Skin() const {
    const TSkinManage* manager = TSkinManage::Instance();
    const TWinSkinForm* skin = manager ? manager->FindFormSkin(FForm->Handle()) : nullptr;
    return skin && skin->SkinState() == fsReady ? skin : nullptr;
  }

  // Shows the window still: the messenger folder fixed (it depends on the build folder),
  // the GIFs on their first frame, the cursor away; then waits for the skin and the clock.
  void ShowStill() {
    FForm->SetControlText("Edit3", u"C:\\Koravent\\");
    for (const char* name : {"Image2", "Image3"}) {
      auto* gif = dynamic_cast<TGIFImage*>(FForm->Control<TImage>(name)->Picture().Graphic());
      ASSERT_NE(gif, nullptr) << name;
      gif->SetDrawOptions(std::uint16_t(gif->DrawOptions() & ~goAnimate));
    }
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    FForm->Show();
    ASSERT_TRUE(PumpUntil([&] { return Skin() && Skin()->HasRegion(); }, 10000)) << "the window was never skinned";
    ASSERT_TRUE(PumpUntil([&] { return FForm->Label7->Caption().starts_with(L"系统时间"); }, 5000))
        << "the clock never showed";
  }

  // Midnight from the gallery's skin file, as a user would load one.
  void UseMidnight() {
    HWND wnd = FForm->Handle();
    const std::optional<TPixelBitmap> before = test::SettledWindow(wnd, MaskClock());
    ASSERT_TRUE(before);
    int changes = 0;
    FForm->SkinData1->OnSkinChanged = [&changes](TComponent*) { ++changes; };
    const bool loaded = FForm->SkinData1->SetSkinFile(test::SourceTreePath(KV_MIDNIGHT_SKIN).wstring());
    const bool changed = PumpUntil([&] { return changes > 0; }, 5000);
    FForm->SkinData1->OnSkinChanged = nullptr;
    ASSERT_TRUE(loaded) << KV_MIDNIGHT_SKIN << " did not load";
    ASSERT_TRUE(changed) << "the skin never changed";
    ASSERT_TRUE(PumpUntil([&] { return Skin() != nullptr; }, 10000)) << "the window lost its skin";
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const std::optional<TPixelBitmap> after = test::SettledWindow(wnd, MaskClock());
    ASSERT_TRUE(after);
    ASSERT_FALSE(before->Width() == after->Width() && before->Height() == after->Height() &&
                 std::equal(before->Pixels().begin(), before->Pixels().end(), after->Pixels().begin()))
        << "the window looks as it did in its own skin";
  }

  // Paints the clock label over in the whole-window picture: its text and width change.
  std::function<void(TPixelBitmap&)> MaskClock() const {
    return [this](TPixelBitmap& shot) {
      RECT r = FForm->Label7->BoundsRect();
      if (TWinControl* parent = FForm->Label7->Parent(); parent && parent != FForm)
        MapWindowPoints(parent->Handle(), FForm->Handle(), reinterpret_cast<POINT*>(&r), 2);
      shot.FillRect(test::ClientToWindowCapture(FForm->Handle(), r), test::kGoldenMask);
    };
  }

  // The whole window settled, also when it is taller than the desktop (a window made at
  // a larger scale than the prefix's): its rows are read in two positions, the top ones
  // with the window at the desktop's top, the rest with its bottom at the desktop's.
  std::optional<TPixelBitmap> SettledWholeWindow() {
    HWND wnd = FForm->Handle();
    RECT r{};
    GetWindowRect(wnd, &r);
    const int height = r.bottom - r.top, desktop = GetSystemMetrics(SM_CYSCREEN);
    const auto shotAt = [&](int top) {
      SetWindowPos(wnd, nullptr, std::max(0, int(r.left)), top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return test::SettledWindow(wnd, MaskClock());
    };
    std::optional<TPixelBitmap> shot = shotAt(0);
    if (!shot || height <= desktop) return shot;
    const std::optional<TPixelBitmap> lower = shotAt(desktop - height);
    if (!lower) return std::nullopt;
    CopyPixels(*shot, 0, desktop, *lower, {0, desktop, lower->Width(), height});
    return shot;
  }

  // A window whose scale changes while it is open (at 96 DPI to 144, at 144 to 96) shows
  // exactly as the window made at that scale, which the other scale's pictures are: its
  // frame from the skin at the new scale, its region cut from that skin's key, its size
  // what the skin answered the system.
  void CheckRescaled(const std::string& skinName) {
    const int from = test::PrefixDpi(), to = from == 96 ? 144 : 96;
    // The 96-DPI prefix's desktop is lower than the window at 144 DPI: the system would
    // keep the window within it, so the window is let be as tall as it asks.
    const THookToken tall = FForm->HookWindowProc([](TMessage& m, TDefaultProc callDefault) {
      callDefault(m);
      if (m.Msg == WM_GETMINMAXINFO) reinterpret_cast<MINMAXINFO*>(m.LParam)->ptMaxTrackSize = {4096, 4096};
    });
    test::SendScaleChange(FForm->Handle(), from, to);
    test::Pump();
    SetForegroundWindow(FForm->Handle());
    ASSERT_TRUE(PumpUntil([&] { return Skin() && Skin()->IsActive() && Skin()->HasRegion(); }, 5000));
    const TSkinDefinition& base = FForm->SkinData1->ModelAt(96);
    test::ExpectFrameAtScale(*Skin(), base, to);
    test::ExpectRegionFromScaledKey(*Skin(), base, FForm->SkinData1->ModelAt(to), to);
    std::optional<TPixelBitmap> shot = SettledWholeWindow();
    FForm->UnhookWindowProc(tall);
    ASSERT_TRUE(shot) << "the window never stopped changing";
    // Wine's own controls on the pages (the tab control's row, the combo boxes' buttons,
    // the check boxes' text) take their metrics from the system's scale, not the window's:
    // a window whose scale differs from the system's cannot show them as one made at its
    // scale does. Where they stand is app_form1_scale's to check; the rest of the window,
    // every pixel the skin paints around them, must match.
    shot->FillRect(test::ClientToWindowCapture(FForm->Handle(), FForm->PageControl1->BoundsRect()),
                   test::kGoldenMask);
    const std::string name = "editor-" + skinName + "-page1-active";
    EXPECT_TRUE(
        test::ComparedWithGolden(*shot, test::GoldenName(name, to), test::GoldenName(name + "-rescaled", to)));
  }

  void CheckEveryPage(const std::string& skinName) {
    test::TPagedWindow window;
    window.Window = FForm->Handle();
    window.Name = "editor-" + skinName;
    window.PageNames = {"page1", "page2", "page3", "page4"};
    window.ShowPage = [this](int page, bool) {
      FForm->PageControl1->SetActivePageIndex(page);
      ASSERT_EQ(FForm->PageControl1->ActivePageIndex(), page);
    };
    window.IsActive = [this] { return Skin() && Skin()->IsActive(); };
    window.Mask = MaskClock();
    window.Dpi = test::PrefixDpi();
    test::CheckEveryPage(window);
  }
};

TEST_F(EditorGoldenTest, OwnSkinPagesActiveAndInactive) {
  ShowStill();
  ASSERT_FALSE(HasFatalFailure());
  CheckEveryPage("koravent");
}

TEST_F(EditorGoldenTest, MidnightPagesActiveAndInactive) {
  ShowStill();
  ASSERT_FALSE(HasFatalFailure());
  UseMidnight();
  ASSERT_FALSE(HasFatalFailure());
  CheckEveryPage("midnight");
}

TEST_F(EditorGoldenTest, OwnSkinScaleChangeShowsAsTheWindowMadeAtTheNewScale) {
  ShowStill();
  ASSERT_FALSE(HasFatalFailure());
  CheckRescaled("koravent");
}

TEST_F(EditorGoldenTest, MidnightScaleChangeShowsAsTheWindowMadeAtTheNewScale) {
  ShowStill();
  ASSERT_FALSE(HasFatalFailure());
  UseMidnight();
  ASSERT_FALSE(HasFatalFailure());
  CheckRescaled("midnight");
}

}  // namespace
}  // namespace kv
