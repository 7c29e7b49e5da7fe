// Progress bars, track bars, up-down buttons and scroll bars under Wine: values set
// before and after the window exists, read back with the platform's own messages; the
// user's changes by posted mouse and key messages, each reported once, reflected to the
// control's hook chain.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "CtrlTestFixture.h"
#include "framework/RangeCtrls.h"
#include "framework/StdCtrls.h"

namespace kv {
namespace {

using test::PumpUntil;
using test::StyleOf;
using test::TMessageRecorder;

class RangeCtrlsTest : public test::TControlTest {};

TEST_F(RangeCtrlsTest, ProgressBarValuesReachThePlatformAndComeBack) {
  auto* bar = Add<TProgressBar>(10, 10, 200, 18);
  bar->SetRange(10, 50);
  bar->SetPosition(30);
  bar->SetStep(5);
  ShowForm();
  HWND wnd = bar->Handle();
  EXPECT_EQ(SendMessageW(wnd, PBM_GETPOS, 0, 0), 30);
  EXPECT_EQ(SendMessageW(wnd, PBM_GETRANGE, TRUE, 0), 10);
  EXPECT_EQ(SendMessageW(wnd, PBM_GETRANGE, FALSE, 0), 50);
  bar->StepIt();
  EXPECT_EQ(SendMessageW(wnd, PBM_GETPOS, 0, 0), 35);
  bar->StepBy(-10);
  EXPECT_EQ(bar->Position(), 25);
  SendMessageW(wnd, PBM_SETPOS, 40, 0);  // from outside
  EXPECT_EQ(bar->Position(), 40);

  // Style changes take a new window, which gets the position the old one had.
  bar->SetSmooth(true);
  bar->SetOrientation(orVertical);
  EXPECT_NE(bar->Handle(), wnd);
  EXPECT_TRUE(StyleOf(bar->Handle()) & PBS_SMOOTH);
  EXPECT_TRUE(StyleOf(bar->Handle()) & PBS_VERTICAL);
  EXPECT_EQ(SendMessageW(bar->Handle(), PBM_GETPOS, 0, 0), 40);
  bar->SetPosition(99);
  EXPECT_EQ(bar->Position(), 50) << "kept within the range";
}

TEST_F(RangeCtrlsTest, TrackBarReportsEachChangeByTheUserOnce) {
  auto* track = Add<TTrackBar>(10, 10, 200, 40);
  track->SetRange(0, 20);
  track->SetPosition(5);
  track->SetPageSize(4);
  track->SetFrequency(5);
  std::vector<int> changes;
  track->OnChange = [&](TComponent*) { changes.push_back(track->Position()); };
  ShowForm();
  HWND wnd = track->Handle();
  EXPECT_EQ(SendMessageW(wnd, TBM_GETPOS, 0, 0), 5);
  EXPECT_EQ(SendMessageW(wnd, TBM_GETRANGEMAX, 0, 0), 20);
  EXPECT_EQ(SendMessageW(wnd, TBM_GETPAGESIZE, 0, 0), 4);
  EXPECT_EQ(SendMessageW(wnd, TBM_GETNUMTICS, 0, 0), 5) << "ticks at 0, 5, 10, 15, 20";

  TMessageRecorder skin(*track);
  PressKey(wnd, VK_RIGHT);
  ASSERT_TRUE(PumpUntil([&] { return !changes.empty(); }));
  EXPECT_EQ(changes, std::vector<int>{6});
  EXPECT_TRUE(skin.Saw(CN_HSCROLL)) << "the parent reflects WM_HSCROLL as 0xBD14";

  // A click in the channel right of the thumb moves a page.
  RECT thumb{};
  SendMessageW(wnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  ClickAt(wnd, thumb.right + 40, (thumb.top + thumb.bottom) / 2);
  ASSERT_TRUE(PumpUntil([&] { return changes.size() == 2; }));
  EXPECT_EQ(changes.back(), 10);
  test::Pump();
  EXPECT_EQ(changes.size(), 2u) << "the end of the action is no change";

  track->SetPosition(12);
  PressKey(wnd, VK_HOME);
  EXPECT_EQ(changes, (std::vector<int>{6, 10, 0})) << "a program's change is not reported";
}

TEST_F(RangeCtrlsTest, TrackBarCustomDrawReachesAHookThatCanDrawTheThumb) {
  auto* track = Add<TTrackBar>(10, 10, 200, 40);
  track->SetPosition(5);
  ShowForm();
  HWND wnd = track->Handle();
  // What a skin does: ask for the items, paint the thumb itself, skip the platform's.
  std::vector<DWORD> stages;
  const THookToken token = track->HookWindowProc([&](TMessage& m, TDefaultProc callDefault) {
    if (m.Msg == CN_NOTIFY && reinterpret_cast<NMHDR*>(m.LParam)->code == static_cast<UINT>(NM_CUSTOMDRAW)) {
      auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(m.LParam);
      stages.push_back(draw->dwDrawStage);
      if (draw->dwDrawStage == CDDS_PREPAINT) {
        m.Result = CDRF_NOTIFYITEMDRAW;
        return;
      }
      if (draw->dwDrawStage == CDDS_ITEMPREPAINT && draw->dwItemSpec == TBCD_THUMB) {
        RECT r{};
        SendMessageW(wnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&r));
        TBrushHandle red(CreateSolidBrush(RGB(255, 0, 0)));
        FillRect(draw->hdc, &r, red.Get());
        m.Result = CDRF_SKIPDEFAULT;
        return;
      }
    }
    callDefault(m);
  });
  track->Repaint();
  ASSERT_FALSE(stages.empty()) << "NM_CUSTOMDRAW arrives reflected as 0xBC4E";
  EXPECT_EQ(stages.front(), DWORD(CDDS_PREPAINT));
  RECT thumb{};
  SendMessageW(wnd, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
  EXPECT_EQ(test::ScreenPixel(wnd, (thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2), 0xFF0000u);

  // Without the hook the control answers "draw it yourself" and the thumb is the platform's.
  track->UnhookWindowProc(token);
  test::TNotifications notes(*track);
  track->Repaint();
  const std::vector<LRESULT> answers = notes.Results(NM_CUSTOMDRAW);
  ASSERT_FALSE(answers.empty());
  for (LRESULT answer : answers) EXPECT_EQ(answer, CDRF_DODEFAULT);
  EXPECT_NE(test::ScreenPixel(wnd, (thumb.left + thumb.right) / 2, (thumb.top + thumb.bottom) / 2), 0xFF0000u);
}

TEST_F(RangeCtrlsTest, TransparentTrackBarShowsItsParentInsteadOfItsColour) {
  auto* track = Add<TTrackBar>(10, 10, 200, 40);
  track->SetColor(0x00FFFF);  // yellow
  track->SetTickStyle(tsNone);
  ShowForm();
  HWND wnd = track->Handle();
  ASSERT_TRUE(PumpUntil([&] { return test::ScreenPixel(wnd, 1, 1) == 0xFFFF00u; })) << "its own colour first";
  track->SetTransparent(true);
  track->Repaint();
  EXPECT_EQ(test::ScreenPixel(wnd, 1, 1), 0x0000FFu) << "the form's blue";
  EXPECT_EQ(test::ScreenPixel(wnd, 198, 38), 0x0000FFu);
  RegisterStandardProperties();
  EXPECT_EQ(GetPropertyText(*track, "Transparent"), "True");

  track->SetOrientation(orVertical);
  EXPECT_TRUE(StyleOf(track->Handle()) & TBS_VERT);
  EXPECT_EQ(track->Width(), 40) << "turned, width and height swap";
  EXPECT_EQ(track->Height(), 200);
}

TEST_F(RangeCtrlsTest, UpDownDrivesItsEditAndReportsWhichArrow) {
  auto* edit = Add<TEdit>(10, 10, 80, 24);
  auto* spin = Add<TUpDown>(90, 10, 17, 24);
  spin->SetRange(0, 10);
  spin->SetPosition(3);
  spin->SetAssociate(edit);
  std::vector<TUDBtnType> clicks;
  spin->OnClick = [&](TComponent*, TUDBtnType button) { clicks.push_back(button); };
  ShowForm();
  HWND wnd = spin->Handle();
  EXPECT_EQ(SendMessageW(wnd, UDM_GETPOS32, 0, 0), 3);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(wnd, UDM_GETBUDDY, 0, 0)), edit->Handle());
  EXPECT_EQ(edit->Text(), L"3");
  EXPECT_EQ(spin->Left(), edit->Left() + edit->Width()) << "placed at the edit's right, both recorded";

  TMessageRecorder skin(*spin);
  test::TNotifications notes(*spin);
  ClickAt(wnd, spin->Width() / 2, 3);  // the upper arrow
  ASSERT_TRUE(PumpUntil([&] { return !clicks.empty(); }));
  EXPECT_EQ(spin->Position(), 4);
  EXPECT_EQ(edit->Text(), L"4");
  ClickAt(wnd, spin->Width() / 2, spin->Height() - 3);
  ASSERT_TRUE(PumpUntil([&] { return clicks.size() == 2; }));
  EXPECT_EQ(clicks, (std::vector<TUDBtnType>{btNext, btPrev}));
  EXPECT_EQ(spin->Position(), 3);
  EXPECT_TRUE(skin.Saw(CN_VSCROLL)) << "0xBD15";
  EXPECT_EQ(notes.Count(UDN_DELTAPOS), 2) << "reflected too, one per step";

  // Wrapping: past the top comes the bottom, still an "up" click.
  spin->SetWrap(true);
  spin->SetPosition(10);
  ClickAt(spin->Handle(), spin->Width() / 2, 3);
  ASSERT_TRUE(PumpUntil([&] { return clicks.size() == 3; }));
  EXPECT_EQ(clicks.back(), btNext);
  EXPECT_EQ(spin->Position(), 0);
  EXPECT_TRUE(StyleOf(spin->Handle()) & UDS_WRAP);

  Form->DestroyComponent(edit);
  EXPECT_EQ(spin->Associate(), nullptr) << "a destroyed associate is forgotten";
}

TEST_F(RangeCtrlsTest, ScrollBarMovesOnlyWhereTheControlPutsItAndTellsHow) {
  auto* bar = Add<TScrollBar>(10, 10, 200, 17);
  bar->SetParams(20, 0, 100);
  bar->SetPageSize(10);
  bar->SetLargeChange(10);
  std::vector<TScrollCode> codes;
  int changes = 0;
  bar->OnScroll = [&](TComponent*, TScrollCode code, int&) { codes.push_back(code); };
  bar->OnChange = [&](TComponent*) { ++changes; };
  ShowForm();
  HWND wnd = bar->Handle();
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  SendMessageW(wnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&info));
  EXPECT_EQ(info.nPos, 20);
  EXPECT_EQ(info.nMax, 100);
  EXPECT_EQ(info.nPage, 10u);

  TMessageRecorder skin(*bar);
  ClickAt(wnd, 200 - 5, 8);  // the right arrow
  ASSERT_TRUE(PumpUntil([&] { return changes == 1; }));
  EXPECT_EQ(bar->Position(), 21);
  ASSERT_FALSE(codes.empty());
  EXPECT_EQ(codes.front(), scLineDown);
  EXPECT_EQ(codes.back(), scEndScroll);
  EXPECT_TRUE(skin.Saw(CN_HSCROLL)) << "0xBD14";
  EXPECT_TRUE(skin.Saw(SBM_SETSCROLLINFO)) << "the new position goes through the window procedure";

  // The handler may move the bar somewhere else.
  bar->OnScroll = [&](TComponent*, TScrollCode code, int& position) {
    codes.push_back(code);
    if (code == scPageDown) position = 60;
  };
  codes.clear();
  SetFocus(wnd);
  PressKey(wnd, VK_NEXT);
  ASSERT_TRUE(PumpUntil([&] { return changes == 2; }));
  EXPECT_EQ(codes.front(), scPageDown);
  EXPECT_EQ(bar->Position(), 60);
  PressKey(wnd, VK_END);
  EXPECT_EQ(bar->Position(), 91) << "the last place the page fits";
  EXPECT_EQ(changes, 3);

  bar->SetKind(sbVertical);
  EXPECT_TRUE(StyleOf(bar->Handle()) & SBS_VERT);
  EXPECT_EQ(bar->Height(), 200);
  EXPECT_EQ(bar->Position(), 91) << "kept across the new window";
}

}  // namespace
}  // namespace kv
