// The skinned main window against stored pictures of its four pages, and long runs of
// hovering, pressing, Tab and page switches that must leave no handle behind.
//
// The pictures live in tests/app/golden (24-bit BMP). Run the test with KV_UPDATE_GOLDEN=1
// to write them anew instead of comparing; then look at them before keeping them.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "Form1RunFixture.h"
#include "TestUtil.h"
#include "app/Unit1.h"
#include "pictures/win/GifImage.h"
#include "skin/controls/SkinControl.h"
#include "skin/data/BmpCodec.h"
#include "skin/windows/ControlSkins.h"
#include "skin/windows/WinSkinForm.h"
#include "skin/windows/WinSkinManage.h"
#include "support/HandleCount.h"
#include "support/PixelCheck.h"

namespace kv {
namespace {

namespace fs = std::filesystem;
using test::PumpUntil;

constexpr int kTolerance = 8;                   // per channel: rendering noise only
constexpr std::uint32_t kMaskPixel = 0xFF00FF;  // fills the clock label in both pictures

// The source tree's golden folder as this program sees it: under Wine, "/" is drive Z:.
fs::path GoldenDir() {
  std::string dir = KV_GOLDEN_DIR;
  if (!dir.empty() && dir.front() == '/') {
    for (char& c : dir)
      if (c == '/') c = '\\';
    dir = "Z:" + dir;
  }
  return fs::path(dir);
}

bool UpdateGoldens() {
  const char* value = std::getenv("KV_UPDATE_GOLDEN");
  return value && std::string(value) == "1";
}

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

class Form1GoldenTest : public test::TForm1Run<TQuietForm1> {
 protected:
  Form1GoldenTest() : TForm1Run("kv-form1-golden-run") {}

  // Shows the window with the cursor away from it and waits for the skin to take it.
  void ShowSkinned() {
    SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
    FForm->Show();
    HWND wnd = FForm->Handle();
    ASSERT_TRUE(PumpUntil(
        [&] {
          const TSkinManage* manager = TSkinManage::Instance();
          const TWinSkinForm* skin = manager ? manager->FindFormSkin(wnd) : nullptr;
          return skin && skin->SkinState() == fsReady && skin->HasRegion();
        },
        10000))
        << "the window was never skinned";
    ASSERT_TRUE(PumpUntil([&] { return FForm->Label7->Caption().starts_with(L"系统时间"); }, 5000))
        << "the clock never showed";
  }

  // The animated pictures of the third page hold their first frame (a still picture is
  // painted at once), so that the page can be compared as a whole.
  void StillPictures() {
    for (const char* name : {"Image2", "Image3"}) {
      auto* gif = dynamic_cast<TGIFImage*>(FForm->Control<TImage>(name)->Picture().Graphic());
      ASSERT_NE(gif, nullptr) << name;
      gif->SetDrawOptions(std::uint16_t(gif->DrawOptions() & ~goAnimate));
    }
  }

  // The control skin serving a window of the form.
  TSkinControl* SkinOf(HWND wnd) const {
    TWinSkinForm* form = TSkinManage::Instance()->FindFormSkin(FForm->Handle());
    return form ? form->ControlSkins().FindControlSkin(wnd) : nullptr;
  }

  // The clock label's rectangle in the window's client area.
  Rect ClockRect() const {
    RECT r = FForm->Label7->BoundsRect();
    if (TWinControl* parent = FForm->Label7->Parent(); parent && parent != FForm)
      MapWindowPoints(parent->Handle(), FForm->Handle(), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
  }

  // The client area with the clock masked out.
  TPixelBitmap MaskedClient() const {
    TPixelBitmap shot = test::CaptureClient(FForm->Handle());
    shot.FillRect(ClockRect(), kMaskPixel);
    return shot;
  }

  // The client area once nothing is left to paint and three captures in a row agree.
  std::optional<TPixelBitmap> SettledClient() const {
    std::optional<TPixelBitmap> last;
    int same = 0;
    const bool settled = PumpUntil(
        [&] {
          test::PumpUntil([] { return false; }, 80);
          if (GetUpdateRect(FForm->Handle(), nullptr, FALSE)) return false;
          TPixelBitmap now = MaskedClient();
          const bool equal = last && last->Width() == now.Width() && last->Height() == now.Height() &&
                             std::equal(now.Pixels().begin(), now.Pixels().end(), last->Pixels().begin());
          same = equal ? same + 1 : 0;
          last = std::move(now);
          return same >= 2;
        },
        10000);
    if (!settled) return std::nullopt;
    return last;
  }

  std::string FocusedName() const {
    TWinControl* c = FForm->FocusedControl();
    return c ? c->Name() : std::string("(none)");
  }
};

std::optional<TPixelBitmap> ReadBmpFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return ReadBmp(bytes);
}

TEST_F(Form1GoldenTest, EveryPageLooksAsItsStoredPicture) {
  // The messenger folder shown is the program's own, which depends on the build folder.
  FForm->SetControlText("Edit3", u"C:\\Koravent\\");
  StillPictures();
  ASSERT_FALSE(HasFatalFailure());
  ShowSkinned();
  ASSERT_FALSE(HasFatalFailure());
  const bool update = UpdateGoldens();
  const fs::path dir = GoldenDir();
  if (update) fs::create_directories(dir);
  for (int page = 0; page < 4; ++page) {
    SCOPED_TRACE("page " + std::to_string(page + 1));
    FForm->PageControl1->SetActivePageIndex(page);
    ASSERT_EQ(FForm->PageControl1->ActivePageIndex(), page);
    const std::optional<TPixelBitmap> actual = SettledClient();
    ASSERT_TRUE(actual) << "the window never stopped changing";
    const fs::path file = dir / ("form1-page" + std::to_string(page + 1) + ".bmp");
    if (update) {
      std::ofstream(file, std::ios::binary) << WriteBmp24(*actual);
      ASSERT_TRUE(fs::exists(file)) << file.string();
      continue;
    }
    std::optional<TPixelBitmap> expected = ReadBmpFile(file);
    ASSERT_TRUE(expected) << "no stored picture at " << file.string() << " (run with KV_UPDATE_GOLDEN=1)";
    // The clock label sizes itself to the time ("1:05:00 PM" is narrower than "11:55:00 AM"):
    // what either picture masks is masked in both.
    TPixelBitmap shown = *actual;
    if (expected->Width() == shown.Width() && expected->Height() == shown.Height()) {
      std::span<std::uint32_t> want = expected->Pixels(), got = shown.Pixels();
      for (std::size_t i = 0; i < want.size(); ++i)
        if (want[i] == kMaskPixel || got[i] == kMaskPixel) want[i] = got[i] = kMaskPixel;
    }
    EXPECT_TRUE(test::PixelsMatch(*expected, shown, "form1-page" + std::to_string(page + 1), kTolerance));
  }
}

// Posts a mouse message to a window at a client point.
void PostMouse(HWND wnd, UINT msg, WPARAM keys, int x, int y) {
  PostMessageW(wnd, msg, keys, MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(y)));
}

TEST_F(Form1GoldenTest, HoverPressTabAndPagesLeaveNoHandlesBehind) {
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
