// Tool bars, scroll boxes and date-time pickers under Wine: buttons clicked as the mouse
// clicks them, scrolling that moves the children, dates set and changed by keys; and the
// published properties of the new kinds by name.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <utility>
#include <vector>

#include "CtrlTestFixture.h"
#include "framework/ButtonCtrls.h"
#include "framework/ListCtrls.h"
#include "framework/RangeCtrls.h"
#include "framework/StdCtrls.h"
#include "framework/TabCtrls.h"
#include "framework/ToolCtrls.h"
#include "support/HandleCount.h"
#include "support/PixelCheck.h"
#include "support/ScaledLayout.h"

namespace kv {
namespace {

using test::PumpUntil;
using test::StyleOf;
using test::TMessageRecorder;

class ToolCtrlsTest : public test::TControlTest {};

TEST_F(ToolCtrlsTest, ToolBarButtonsClickOnceAndCheckButtonsLatch) {
  auto* images = Form->Make<TImageList>();
  TBitmap strip(32, 16);
  images->Add(strip, clNone);
  auto* bar = Add<TToolBar>(0, 0, 320, 30);
  bar->SetImages(images);
  TToolButton* open = bar->AddButton(L"", 0);
  bar->AddButton(L"", -1, tbsSeparator);
  TToolButton* bold = bar->AddButton(L"", 1, tbsCheck);
  int opens = 0;
  std::vector<bool> boldStates;
  open->OnClick = [&](TComponent* sender) {
    EXPECT_EQ(sender, open);
    ++opens;
  };
  bold->OnClick = [&](TComponent*) { boldStates.push_back(bold->Down()); };
  ShowForm();
  HWND wnd = bar->Handle();
  ASSERT_EQ(SendMessageW(wnd, TB_BUTTONCOUNT, 0, 0), 3);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(wnd, TB_GETIMAGELIST, 0, 0)), images->Handle());
  TBBUTTON info{};
  SendMessageW(wnd, TB_GETBUTTON, 1, reinterpret_cast<LPARAM>(&info));
  EXPECT_TRUE(info.fsStyle & BTNS_SEP);
  EXPECT_EQ(bold->Owner(), bar);
  EXPECT_EQ(bold->Index(), 2);

  TMessageRecorder skin(*bar);
  ClickAt(wnd, bar->ButtonRect(0));
  ASSERT_TRUE(PumpUntil([&] { return opens == 1; }));
  EXPECT_TRUE(skin.Saw(CN_COMMAND)) << "the parent reflects the tool bar's WM_COMMAND";
  ClickAt(wnd, bar->ButtonRect(2));
  ClickAt(wnd, bar->ButtonRect(2));
  ASSERT_TRUE(PumpUntil([&] { return boldStates.size() == 2; }));
  EXPECT_EQ(boldStates, (std::vector<bool>{true, false}));
  EXPECT_EQ(opens, 1);
  bold->SetDown(true);
  EXPECT_TRUE(SendMessageW(wnd, TB_ISBUTTONCHECKED, bold->Command(), 0));

  // Flat: a new window with every button and its state.
  RegisterStandardProperties();
  EXPECT_TRUE(SetPropertyByName(*bar, "Flat", "True"));
  EXPECT_NE(bar->Handle(), wnd);
  wnd = bar->Handle();
  EXPECT_TRUE(StyleOf(wnd) & TBSTYLE_FLAT);
  EXPECT_EQ(SendMessageW(wnd, TB_BUTTONCOUNT, 0, 0), 3);
  EXPECT_TRUE(SendMessageW(wnd, TB_ISBUTTONCHECKED, bold->Command(), 0));

  // Its colour paints the bar where no button is.
  bar->SetColor(0x00FFFF);
  bar->Repaint();
  EXPECT_EQ(test::ScreenPixel(wnd, 300, 15), 0xFFFF00u);

  Form->DestroyComponent(images);
  EXPECT_EQ(bar->Images(), nullptr);
  bar->DestroyComponent(open);
  EXPECT_EQ(bar->ButtonCount(), 2);
  EXPECT_EQ(SendMessageW(wnd, TB_BUTTONCOUNT, 0, 0), 2);
}

// Image `index` of `list` drawn transparently on white, as a picture.
TPixelBitmap DrawnImage(const TImageList& list, int index) {
  TBitmap target(list.Width(), list.Height());
  TCanvas& canvas = target.Canvas();
  canvas.Brush().SetColor(clWhite);
  canvas.FillRect({0, 0, target.Width(), target.Height()});
  list.Draw(canvas, 0, 0, index);
  GdiFlush();
  TPixelBitmap picture(target.Width(), target.Height());
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) picture.SetPixel(x, y, target.ScanLine(y)[x] & 0xFFFFFF);
  return picture;
}

TEST_F(ToolCtrlsTest, ImageListsAndTheToolBarFollowTheFormsScaleAndComeBack) {
  // Three 16 x 16 images, each an 8-pixel square of its colour on a fuchsia ground; the
  // middle one goes again, so what is scaled must follow what is left.
  const std::uint32_t colours[] = {0x00C000, 0x808080, 0x0000C0};
  TBitmap strip(48, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 48; ++x)
      strip.ScanLine(y)[x] = (x % 16 >= 4 && x % 16 < 12 && y >= 4 && y < 12) ? colours[x / 16] : 0xFF00FF;
  auto* images = Form->Make<TImageList>();
  ASSERT_EQ(images->Add(strip, clFuchsia), 0);
  images->Delete(1);
  const std::uint32_t shown[] = {colours[0], colours[2]};
  auto* bar = Add<TToolBar>(0, 0, 320, 30);
  bar->SetImages(images);
  bar->AddButton(L"", 0);
  bar->AddButton(L"", -1, tbsSeparator);
  TToolButton* latched = bar->AddButton(L"", 1, tbsCheck);
  latched->SetDown(true);
  ShowForm();
  const HIMAGELIST handle = images->Handle();
  const TPixelBitmap first[] = {DrawnImage(*images, 0), DrawnImage(*images, 1)};

  int from = 96;
  for (const int dpi : {192, 144, 96}) {
    test::SendScaleChange(Form->Handle(), std::exchange(from, dpi), dpi);
    test::Pump();
    EXPECT_EQ(images->Handle(), handle) << dpi << ": the bar and menus keep the list they were given";
    ASSERT_EQ(images->Count(), 2) << dpi;
    EXPECT_EQ(images->Width(), test::Scale(16, dpi));
    int cx = 0, cy = 0;
    ImageList_GetIconSize(handle, &cx, &cy);
    EXPECT_EQ(cy, test::Scale(16, dpi));
    for (int i = 0; i < 2; ++i) {
      const TPixelBitmap picture = DrawnImage(*images, i);
      const test::TDrawnSquare square = test::DrawnSquare(picture, picture.Bounds(), shown[i]);
      EXPECT_TRUE(square.Solid) << "image " << i << " at " << dpi;
      EXPECT_FALSE(square.GroundLeaks) << "image " << i << " at " << dpi;
      EXPECT_NEAR(square.Box.Width(), test::Scale(8, dpi), 1) << "image " << i << " at " << dpi;
    }
    // The bar's buttons hold the images at their new size, the separator scaled too, and
    // the latched button stays down.
    const RECT button = bar->ButtonRect(0), separator = bar->ButtonRect(1);
    EXPECT_GE(button.bottom - button.top, test::Scale(16, dpi) + 2) << dpi;
    EXPECT_LT(button.bottom - button.top, test::Scale(16, dpi) + test::Scale(16, dpi) / 2 + 8) << dpi;
    EXPECT_EQ(separator.right - separator.left, test::Scale(8, dpi)) << dpi;
    EXPECT_TRUE(latched->Down()) << dpi;
    if (dpi == 192) {
      // A list made while the form is at another scale is at the form's at once.
      auto* late = Form->Make<TImageList>();
      ASSERT_EQ(late->Add(strip, clFuchsia), 0);
      const TPixelBitmap picture = DrawnImage(*late, 0);
      EXPECT_EQ(picture.Width(), 32);
      EXPECT_NEAR(test::DrawnSquare(picture, picture.Bounds(), colours[0]).Box.Width(), 16, 1);
    }
  }
  // Back at 96 DPI, the images are the ones first added, pixel for pixel.
  for (int i = 0; i < 2; ++i) EXPECT_TRUE(test::PixelsMatch(first[i], DrawnImage(*images, i), "image-back-at-96"));
}

TEST_F(ToolCtrlsTest, ScrollBoxShowsBarsAsItsChildrenNeedAndScrollsThem) {
  auto* box = Add<TScrollBox>(10, 10, 150, 100);
  box->SetColor(0x00FF00);  // green, whatever the form's colour
  auto* upper = Add<TPanel>(10, 10, 50, 30, box);
  auto* lower = Add<TPanel>(10, 200, 50, 30, box);
  ShowForm();
  HWND wnd = box->Handle();
  EXPECT_EQ(test::ClassNameOf(wnd), L"Kv.ScrollBox");
  EXPECT_FALSE(box->ParentColor());
  EXPECT_EQ(test::ScreenPixel(wnd, 100, 5), 0x00FF00u) << "its own colour, not the form's blue";
  EXPECT_TRUE(StyleOf(wnd) & WS_VSCROLL) << "a child below the bottom";
  EXPECT_FALSE(StyleOf(wnd) & WS_HSCROLL);
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(wnd, SB_VERT, &info);
  RECT client{};
  GetClientRect(wnd, &client);
  EXPECT_EQ(info.nMax, 229);
  EXPECT_EQ(static_cast<int>(info.nPage), client.bottom);

  SendMessageW(wnd, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(box->VertPosition(), 16);
  EXPECT_EQ(upper->Top(), -6);
  RECT r{};
  GetWindowRect(lower->Handle(), &r);
  MapWindowPoints(nullptr, wnd, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.top, 184) << "the child's window moved with it";
  GetScrollInfo(wnd, SB_VERT, &info);
  EXPECT_EQ(info.nPos, 16);

  SendMessageW(wnd, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(box->VertPosition(), 230 - client.bottom) << "no further than the content";
  box->ScrollInView(upper);
  EXPECT_EQ(upper->Top(), 0) << "scrolled just enough";
  EXPECT_EQ(box->VertPosition(), 10);

  // A child added to the right, then the bars asked again.
  Add<TPanel>(400, 10, 50, 30, box);
  box->UpdateScrollBars();
  EXPECT_TRUE(StyleOf(wnd) & WS_HSCROLL);
  box->SetAutoScroll(false);
  EXPECT_FALSE(StyleOf(wnd) & (WS_HSCROLL | WS_VSCROLL));
}

TEST_F(ToolCtrlsTest, DateTimePickerDateReachesThePlatformAndKeysChangeItOnce) {
  auto* picker = Add<TDateTimePicker>(10, 10, 160, 24);
  picker->SetDate(2024, 2, 28);
  int changes = 0;
  picker->OnChange = [&](TComponent*) { ++changes; };
  ShowForm();
  HWND wnd = picker->Handle();
  SYSTEMTIME shown{};
  ASSERT_EQ(SendMessageW(wnd, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)), GDT_VALID);
  EXPECT_EQ(shown.wYear, 2024);
  EXPECT_EQ(shown.wMonth, 2);
  EXPECT_EQ(shown.wDay, 28);
  EXPECT_FALSE(StyleOf(wnd) & DTS_UPDOWN);

  // A click picks the first field, the keyboard steps it; the change comes back once.
  test::TNotifications skin(*picker);
  ClickAt(wnd, 6, picker->Height() / 2);
  ASSERT_TRUE(PumpUntil([&] { return picker->Focused(); }));
  PressKey(wnd, VK_UP);
  ASSERT_TRUE(PumpUntil([&] { return changes == 1; }));
  const SYSTEMTIME now = picker->DateTime();
  EXPECT_NE(now.wYear * 10000 + now.wMonth * 100 + now.wDay, 20240228) << "one field moved";
  EXPECT_GE(skin.Count(DTN_DATETIMECHANGE), 1) << "reflected as 0xBC4E";

  picker->SetDateMode(dmUpDown);
  wnd = picker->Handle();
  EXPECT_TRUE(StyleOf(wnd) & DTS_UPDOWN);
  EXPECT_NE(test::FindChildOfClass(wnd, L"msctls_updown32"), nullptr) << "spin buttons instead of the calendar";
  const SYSTEMTIME kept = picker->DateTime();
  EXPECT_EQ(kept.wDay, now.wDay) << "the date survives the new window";
  picker->SetKind(dtkTime);
  picker->SetTime(13, 45, 10);
  EXPECT_TRUE(StyleOf(picker->Handle()) & DTS_TIMEFORMAT);
  SendMessageW(picker->Handle(), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown));
  EXPECT_EQ(shown.wHour, 13);
  EXPECT_EQ(shown.wMinute, 45);
  EXPECT_EQ(changes, 1) << "a program's change is not reported";
}

TEST_F(ToolCtrlsTest, EveryNewKindPaintsAndGoesWithoutLeavingHandles) {
  test::THandleLeakCheck leaks;
  {
    auto* other = App->CreateForm<TForm>();
    other->SetClientSize(400, 300);
    auto add = [&](auto* control, int left, int top, int width, int height) {
      control->SetParent(other);
      control->SetBounds(left, top, width, height);
      return control;
    };
    auto* images = other->Make<TImageList>();
    TBitmap picture(16, 16);
    images->Add(picture, clNone);
    auto* group = add(other->Make<TRadioGroup>(), 0, 0, 100, 80);
    group->Items().Add(L"a");
    group->Items().Add(L"b");
    add(other->Make<TCheckGroup>(), 100, 0, 100, 80)->Items().Add(L"c");
    add(other->Make<TBitBtn>(), 200, 0, 75, 25)->SetKind(bkOK);
    add(other->Make<TSpeedButton>(), 280, 0, 25, 25)->SetGlyph(picture);
    add(other->Make<TProgressBar>(), 0, 90, 100, 16)->SetPosition(50);
    add(other->Make<TTrackBar>(), 100, 90, 100, 40)->SetTransparent(true);
    add(other->Make<TUpDown>(), 200, 90, 17, 25);
    add(other->Make<TScrollBar>(), 220, 90, 100, 17);
    add(other->Make<TListBox>(), 0, 140, 100, 60)->Items().Add(L"line");
    auto* view = add(other->Make<TListView>(), 100, 140, 100, 60);
    view->SetSmallImages(images);
    view->AddItem(L"item", 0);
    add(other->Make<TTabControl>(), 200, 140, 100, 60)->Tabs().Add(L"tab");
    add(other->Make<TTabSet>(), 0, 210, 100, 21)->Tabs().Add(L"tab");
    add(other->Make<TToolBar>(), 100, 210, 100, 28)->SetImages(images);
    add(other->Make<TScrollBox>(), 200, 210, 100, 60);
    add(other->Make<TDateTimePicker>(), 0, 240, 100, 24);
    other->Show();
    for (int i = 0; i < 3; ++i) {
      other->Repaint();
      test::Pump();
    }
    App->DestroyComponent(other);
    test::Pump();
  }  // the picture too
  EXPECT_TRUE(leaks.NothingLeaked());
}

TEST_F(ToolCtrlsTest, PublishedPropertiesOfTheNewKindsAreReachableByName) {
  RegisterStandardProperties();
  auto* picker = Add<TDateTimePicker>(10, 10, 160, 24);
  auto* scroll = Add<TScrollBar>(10, 40, 160, 17);
  auto* view = Add<TListView>(10, 60, 160, 100);
  auto* tabs = Add<TTabControl>(10, 170, 160, 60);
  auto* progress = Add<TProgressBar>(180, 10, 100, 16);
  ShowForm();
  EXPECT_EQ(GetPropertyText(*picker, "DateMode"), "dmComboBox");
  EXPECT_TRUE(SetPropertyByName(*picker, "DateMode", "dmUpDown"));
  EXPECT_TRUE(StyleOf(picker->Handle()) & DTS_UPDOWN);
  EXPECT_FALSE(SetPropertyByName(*picker, "DateMode", "True")) << "not a member of the enumeration";
  EXPECT_TRUE(SetPropertyByName(*scroll, "Kind", "sbVertical"));
  EXPECT_EQ(scroll->Kind(), sbVertical);
  EXPECT_TRUE(SetPropertyByName(*view, "ViewStyle", "vsReport"));
  EXPECT_TRUE(SetPropertyByName(*view, "GridLines", "True"));
  EXPECT_TRUE(SendMessageW(view->Handle(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES);
  EXPECT_TRUE(SetPropertyByName(*tabs, "MultiLine", "True"));
  EXPECT_TRUE(StyleOf(tabs->Handle()) & TCS_MULTILINE);
  EXPECT_EQ(GetPropertyText(*progress, "Smooth"), "False");
  EXPECT_FALSE(HasProperty(*progress, "Flat"));
  EXPECT_TRUE(HasProperty(*view, "Visible")) << "the common ones still apply";
}

}  // namespace
}  // namespace kv
