// The platform's tab control and our own tab set under Wine: tabs read back, changed by
// posted clicks and keys, each change reported once; the tab set's scroller and paint.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "CtrlTestFixture.h"
#include "framework/TabCtrls.h"

namespace kv {
namespace {

using test::PumpUntil;
using test::StyleOf;
using test::TMessageRecorder;

class TabCtrlsTest : public test::TControlTest {};

std::wstring TabText(HWND wnd, int index) {
  wchar_t text[32] = {};
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = text;
  item.cchTextMax = 32;
  SendMessageW(wnd, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(&item));
  return text;
}

RECT TabItemRect(HWND wnd, int index) {
  RECT r{};
  SendMessageW(wnd, TCM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
  return r;
}

TEST_F(TabCtrlsTest, TabControlTabsChangeByClickOnceAndMayBeRefused) {
  auto* tabs = Add<TTabControl>(10, 10, 300, 200);
  for (const wchar_t* tab : {L"General", L"Colours", L"Sounds"}) tabs->Tabs().Add(tab);
  tabs->SetTabIndex(1);
  int changes = 0, askings = 0;
  bool allow = true;
  tabs->OnChange = [&](TComponent*) { ++changes; };
  tabs->OnChanging = [&](TComponent*, bool& allowChange) {
    ++askings;
    allowChange = allow;
  };
  ShowForm();
  HWND wnd = tabs->Handle();
  ASSERT_EQ(SendMessageW(wnd, TCM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(TabText(wnd, 2), L"Sounds");
  EXPECT_EQ(SendMessageW(wnd, TCM_GETCURSEL, 0, 0), 1) << "chosen before the window existed";

  test::TNotifications skin(*tabs);
  ClickAt(wnd, TabItemRect(wnd, 2));
  ASSERT_TRUE(PumpUntil([&] { return tabs->TabIndex() == 2; }));
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(askings, 1);
  EXPECT_EQ(skin.Count(TCN_SELCHANGE), 1) << "reflected as 0xBC4E";
  EXPECT_EQ(skin.Count(TCN_SELCHANGING), 1);

  allow = false;
  ClickAt(wnd, TabItemRect(wnd, 0));
  EXPECT_EQ(askings, 2);
  EXPECT_EQ(tabs->TabIndex(), 2) << "refused";
  EXPECT_EQ(changes, 1);

  tabs->SetTabIndex(0);
  EXPECT_EQ(SendMessageW(wnd, TCM_GETCURSEL, 0, 0), 0);
  EXPECT_EQ(changes, 1) << "a program's change is not reported";
  tabs->Tabs().Put(1, L"Colors");
  EXPECT_EQ(TabText(wnd, 1), L"Colors");
  EXPECT_EQ(tabs->TabIndex(), 0) << "kept while the tabs change";
}

TEST_F(TabCtrlsTest, TabControlPositionsRowsArrowsAndDisplayArea) {
  auto* tabs = Add<TTabControl>(10, 10, 200, 150);
  for (int i = 0; i < 12; ++i) tabs->Tabs().Add(L"Page " + std::to_wstring(i + 1));
  auto* images = Form->Make<TImageList>();
  tabs->SetImages(images);
  ShowForm();
  HWND wnd = tabs->Handle();
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(wnd, TCM_GETIMAGELIST, 0, 0)), images->Handle());
  RECT client{};
  GetClientRect(wnd, &client);
  RECT display = tabs->DisplayRect();
  EXPECT_GT(display.top, client.top + 10) << "the tabs are above the display area";
  EXPECT_LT(display.bottom, client.bottom);
  // One row that does not fit: the platform's arrows (a child up-down window).
  ASSERT_TRUE(PumpUntil([&] { return test::FindChildOfClass(wnd, L"msctls_updown32") != nullptr; }));
  EXPECT_EQ(SendMessageW(wnd, TCM_GETROWCOUNT, 0, 0), 1);

  tabs->SetMultiLine(true);
  wnd = tabs->Handle();
  EXPECT_TRUE(StyleOf(wnd) & TCS_MULTILINE);
  EXPECT_GT(SendMessageW(wnd, TCM_GETROWCOUNT, 0, 0), 1);
  EXPECT_EQ(SendMessageW(wnd, TCM_GETITEMCOUNT, 0, 0), 12) << "the new window has every tab";

  tabs->SetTabPosition(tpBottom);
  wnd = tabs->Handle();
  EXPECT_TRUE(StyleOf(wnd) & TCS_BOTTOM);
  display = tabs->DisplayRect();
  EXPECT_LT(display.top, 10);
  EXPECT_LT(display.bottom, client.bottom - 20) << "the tabs are below";
  tabs->SetTabPosition(tpRight);
  EXPECT_EQ(StyleOf(tabs->Handle()) & (TCS_VERTICAL | TCS_RIGHT), TCS_VERTICAL | TCS_RIGHT);
}

TEST_F(TabCtrlsTest, TabSetSelectsByClickAndKeysAndScrollsWithItsScroller) {
  auto* set = Add<TTabSet>(10, 10, 300, 21);
  for (const wchar_t* tab : {L"One", L"Two", L"Three"}) set->Tabs().Add(tab);
  set->SetTabIndex(0);
  set->SetSelectedColor(0x0000FF);    // red
  set->SetUnselectedColor(0x00FF00);  // green
  std::vector<int> changes;
  set->OnChange = [&](TComponent*) { changes.push_back(set->TabIndex()); };
  ShowForm();
  HWND wnd = set->Handle();
  EXPECT_EQ(test::ClassNameOf(wnd), L"Kv.TabSet");
  EXPECT_EQ(set->Components(0), set->Scroller()) << "the scroller is the first owned component";
  EXPECT_FALSE(set->Scroller()->Visible()) << "three tabs fit";
  EXPECT_EQ(set->VisibleTabs(), 3);
  // Tabs run from the start margin, each its text plus 9 pixels wide, without gaps.
  EXPECT_EQ(set->TabRect(0).left, set->StartMargin());
  EXPECT_EQ(set->TabRect(1).left, set->TabRect(0).right);

  // Beside the text, just below the line the tabs hang from.
  const RECT second = set->TabRect(1);
  ASSERT_TRUE(PumpUntil([&] { return test::ScreenPixel(wnd, set->TabRect(0).right - 3, 2) == 0xFF0000u; }))
      << "the selected tab in its colour";
  EXPECT_EQ(test::ScreenPixel(wnd, second.right - 3, 2), 0x00FF00u);

  ClickAt(wnd, second);
  EXPECT_EQ(changes, std::vector<int>{1});
  EXPECT_TRUE(set->Focused()) << "a click gives it the focus";
  PressKey(wnd, VK_RIGHT);
  EXPECT_EQ(changes, (std::vector<int>{1, 2}));
  PressKey(wnd, VK_RIGHT);
  EXPECT_EQ(changes.size(), 2u) << "no tab beyond the last";
  set->OnChanging = [](TComponent*, int newTab, bool& allow) { allow = newTab != 0; };
  ClickAt(wnd, set->TabRect(0));
  EXPECT_EQ(set->TabIndex(), 2) << "refused";

  // Too many tabs for the width: the scroller shows and moves the first visible tab.
  for (int i = 0; i < 10; ++i) set->Tabs().Add(L"Another " + std::to_wstring(i));
  TTabScroller* scroller = set->Scroller();
  ASSERT_TRUE(scroller->Visible());
  EXPECT_TRUE(IsWindowVisible(scroller->Handle()));
  EXPECT_FALSE(scroller->CanScrollLeft());
  EXPECT_TRUE(scroller->CanScrollRight());
  EXPECT_LE(set->TabRect(set->VisibleTabs() - 1).right, scroller->Left()) << "no tab under the scroller";
  ClickAt(scroller->Handle(), scroller->Width() - 4, scroller->Height() / 2);
  EXPECT_EQ(set->FirstIndex(), 1);
  EXPECT_EQ(set->TabRect(0).right, 0) << "scrolled out of view";
  EXPECT_TRUE(scroller->CanScrollLeft());
  ClickAt(scroller->Handle(), 3, scroller->Height() / 2);
  EXPECT_EQ(set->FirstIndex(), 0);

  set->SetTabIndex(12);
  EXPECT_GE(12, set->FirstIndex());
  EXPECT_LT(12, set->FirstIndex() + set->VisibleTabs()) << "the chosen tab is scrolled into view";
}

}  // namespace
}  // namespace kv
