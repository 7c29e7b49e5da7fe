// The gallery's pages under Wine: each page shows, holds its control kinds in windows of the
// classes skins look for, lays them out without overlap or clipping, and shows each state.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <map>
#include <set>
#include <string>

#include "GalleryFixture.h"
#include "framework/ButtonCtrls.h"
#include "framework/ListCtrls.h"
#include "framework/RangeCtrls.h"
#include "framework/TabCtrls.h"

namespace kv::test {
namespace {

// The window class each framework kind shows to the platform (and to a skin).
const std::map<std::string_view, std::wstring> kWindowClasses = {
    {"TButton", L"Kv.BUTTON"},
    {"TBitBtn", L"Kv.BUTTON"},
    {"TCheckBox", L"Kv.BUTTON"},
    {"TRadioButton", L"Kv.BUTTON"},
    {"TGroupBox", L"Kv.GroupBox"},
    {"TRadioGroup", L"Kv.GroupBox"},
    {"TCheckGroup", L"Kv.GroupBox"},
    {"TPanel", L"Kv.Panel"},
    {"TEdit", L"Kv.EDIT"},
    {"TMemo", L"Kv.EDIT"},
    {"TComboBox", L"Kv.COMBOBOX"},
    {"TListBox", L"Kv.LISTBOX"},
    {"TListView", L"Kv.SysListView32"},
    {"TProgressBar", L"Kv.msctls_progress32"},
    {"TTrackBar", L"Kv.msctls_trackbar32"},
    {"TUpDown", L"Kv.msctls_updown32"},
    {"TScrollBar", L"Kv.SCROLLBAR"},
    {"TTabControl", L"Kv.SysTabControl32"},
    {"TDateTimePicker", L"Kv.SysDateTimePick32"},
    {"TTabSet", L"Kv.TabSet"},
    {"TTabScroller", L"Kv.TabScroller"},
    {"TScrollBox", L"Kv.ScrollBox"},
};

// The kinds each page must show.
const std::vector<std::set<std::string_view>> kPageKinds = {
    {"TButton", "TBitBtn", "TSpeedButton", "TCheckBox", "TRadioButton", "TRadioGroup", "TCheckGroup", "TGroupBox",
     "TPanel", "TLabel"},
    {"TEdit", "TComboBox", "TMemo", "TUpDown", "TDateTimePicker"},
    {"TListBox", "TListView", "TScrollBox"},
    {"TProgressBar", "TTrackBar", "TScrollBar"},
    {"TTabControl", "TTabSet"},
};

RECT Bounds(TControl* c) {
  if (auto* w = dynamic_cast<TWinControl*>(c)) {  // where the platform really put it
    RECT r;
    GetWindowRect(w->Handle(), &r);
    MapWindowPoints(nullptr, GetParent(w->Handle()), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  return c->BoundsRect();
}

void CollectKinds(TWinControl* parent, std::set<std::string_view>& kinds) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    kinds.insert(c->ClassName());
    if (auto* w = dynamic_cast<TWinControl*>(c)) CollectKinds(w, kinds);
  }
}

// Every visible child lies inside its parent's client area and clear of its siblings; a
// scroll box's children may lie beyond it (that is what it is for). Recurses.
void CheckLayout(TWinControl* parent) {
  RECT client;
  GetClientRect(parent->Handle(), &client);
  const bool scrolls = dynamic_cast<TScrollBox*>(parent) != nullptr;
  std::vector<TControl*> shown;
  for (int i = 0; i < parent->ControlCount(); ++i)
    if (parent->Controls(i)->Visible() && !dynamic_cast<TTabScroller*>(parent->Controls(i)))
      shown.push_back(parent->Controls(i));
  for (std::size_t i = 0; i < shown.size(); ++i) {
    const RECT r = Bounds(shown[i]);
    if (!scrolls) {
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
          << shown[i]->Name() << " sticks out of " << parent->Name() << ": " << r.left << "," << r.top << " - "
          << r.right << "," << r.bottom << " in " << client.right << "x" << client.bottom;
    }
    for (std::size_t j = i + 1; j < shown.size(); ++j) {
      const RECT other = Bounds(shown[j]);
      RECT overlap;
      EXPECT_FALSE(IntersectRect(&overlap, &r, &other)) << shown[i]->Name() << " overlaps " << shown[j]->Name();
    }
    if (auto* w = dynamic_cast<TWinControl*>(shown[i])) CheckLayout(w);
  }
}

void CheckWindowClasses(TWinControl* parent) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* w = dynamic_cast<TWinControl*>(parent->Controls(i));
    if (!w) continue;
    auto expected = kWindowClasses.find(w->ClassName());
    if (expected != kWindowClasses.end()) {
      EXPECT_EQ(ClassNameOf(w->Handle()), expected->second) << w->Name();
    }
    CheckWindowClasses(w);
  }
}

TEST_F(GalleryTest, EveryPageShowsItsKindsInTheirWindowClassesLaidOutCleanly) {
  TPageControl* pages = Gallery->Pages();
  ASSERT_EQ(pages->PageCount(), static_cast<int>(kGalleryPages.size()));
  for (int i = 0; i < pages->PageCount(); ++i) {
    SCOPED_TRACE(testing::Message() << "page " << i + 1);
    pages->SetActivePageIndex(i);
    Pump();
    TTabSheet* sheet = pages->Pages(i);
    EXPECT_EQ(sheet->Caption(), kGalleryPages[static_cast<std::size_t>(i)]);
    EXPECT_TRUE(IsWindowVisible(sheet->Handle()));
    for (int j = 0; j < pages->PageCount(); ++j) {
      if (j != i) {
        EXPECT_FALSE(IsWindowVisible(pages->Pages(j)->Handle()));
      }
    }
    EXPECT_EQ(StatusText(TGalleryForm::kPagePanel),
              std::wstring(L"Page: ") + kGalleryPages[static_cast<std::size_t>(i)]);

    std::set<std::string_view> kinds;
    CollectKinds(sheet, kinds);
    for (std::string_view kind : kPageKinds[static_cast<std::size_t>(i)]) {
      EXPECT_TRUE(kinds.count(kind)) << "no " << kind;
    }
    CheckWindowClasses(sheet);
    CheckLayout(sheet);
  }
  // The window around the pages: bars and page control side by side, inside the form.
  CheckLayout(Gallery);
}

TEST_F(GalleryTest, ButtonsPageShowsEveryButtonState) {
  EXPECT_FALSE(IsWindowEnabled(Wnd("ButtonDisabled")));
  EXPECT_TRUE(IsWindowEnabled(Wnd("ButtonNormal")));
  EXPECT_EQ(StyleOf(Wnd("ButtonDefault")) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
  EXPECT_EQ(Gallery->DefaultButton(), Get<TButton>("ButtonDefault"));

  const char* bitButtons[] = {"BitBtnLeft", "BitBtnRight", "BitBtnTop", "BitBtnBottom"};
  for (int layout = blGlyphLeft; layout <= blGlyphBottom; ++layout) {
    auto* bit = Get<TBitBtn>(bitButtons[layout]);
    EXPECT_EQ(bit->Layout(), layout);
    EXPECT_EQ(StyleOf(bit->Handle()) & BS_TYPEMASK, BS_OWNERDRAW);
    EXPECT_FALSE(bit->Glyph().Empty());
  }
  EXPECT_FALSE(IsWindowEnabled(Wnd("BitBtnDisabled")));

  // One latched button in each group; a click on another moves the latch.
  auto* cut = Get<TSpeedButton>("SpeedCut");
  auto* copy = Get<TSpeedButton>("SpeedCopy");
  auto* paste = Get<TSpeedButton>("SpeedPaste");
  EXPECT_TRUE(copy->Down());
  EXPECT_EQ(copy->State(), bsExclusive);
  EXPECT_FALSE(cut->Down() || paste->Down());
  EXPECT_TRUE(Get<TSpeedButton>("SpeedFlatLeft")->Down());
  EXPECT_NE(Get<TSpeedButton>("SpeedFlatMiddle")->GroupIndex(), copy->GroupIndex());
  EXPECT_EQ(Get<TSpeedButton>("SpeedDisabled")->State(), bsDisabled);
  HWND sheet = Wnd("SheetButtons");
  const RECT p = paste->BoundsRect();
  PostMessageW(sheet, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.left + 5, p.top + 5));
  PostMessageW(sheet, WM_LBUTTONUP, 0, MAKELPARAM(p.left + 5, p.top + 5));
  Pump();
  EXPECT_TRUE(paste->Down());
  EXPECT_FALSE(copy->Down());
  EXPECT_TRUE(Get<TSpeedButton>("SpeedFlatLeft")->Down()) << "the other group keeps its latch";

  auto checkState = [&](const char* name) { return SendMessageW(Wnd(name), BM_GETCHECK, 0, 0); };
  EXPECT_EQ(checkState("CheckUnchecked"), BST_UNCHECKED);
  EXPECT_EQ(checkState("CheckChecked"), BST_CHECKED);
  EXPECT_EQ(checkState("CheckDisabled"), BST_CHECKED);
  EXPECT_FALSE(IsWindowEnabled(Wnd("CheckDisabled")));
  EXPECT_EQ(checkState("RadioChecked"), BST_CHECKED);
  EXPECT_EQ(checkState("RadioUnchecked"), BST_UNCHECKED);
  EXPECT_FALSE(IsWindowEnabled(Wnd("RadioDisabled")));
  EXPECT_TRUE(StyleOf(Wnd("RadioLeftText")) & BS_LEFTTEXT);
  EXPECT_EQ(Get<TRadioButton>("RadioChecked")->Parent(), Get<TPanel>("RadioPanel"));

  auto* radios = Get<TRadioGroup>("RadioGroup1");
  EXPECT_EQ(radios->ItemIndex(), 2);
  ASSERT_EQ(radios->ButtonCount(), 6);
  EXPECT_GT(radios->Buttons(3)->Left(), radios->Buttons(0)->Left()) << "two columns";
  auto* checks = Get<TCheckGroup>("CheckGroup1");
  EXPECT_TRUE(checks->Checked(0));
  EXPECT_FALSE(checks->Checked(1));
  EXPECT_TRUE(checks->Checked(2));
  EXPECT_EQ(Get<TCheckBox>("CheckInGroup")->Parent(), Get<TGroupBox>("GroupBox1"));
}

TEST_F(GalleryTest, EditsPageShowsEditStatesBuddiesDatesAndAMemoThatScrolls) {
  EXPECT_TRUE(StyleOf(Wnd("EditReadOnly")) & ES_READONLY);
  EXPECT_FALSE(StyleOf(Wnd("EditNormal")) & ES_READONLY);
  EXPECT_FALSE(IsWindowEnabled(Wnd("EditDisabled")));
  EXPECT_EQ(Get<TComboBox>("ComboChinese")->Text(), L"中文文本");
  EXPECT_GE(SendMessageW(Wnd("ComboNormal"), CB_GETCOUNT, 0, 0), 8);
  EXPECT_FALSE(IsWindowEnabled(Wnd("ComboDisabled")));

  for (const char* name : {"UpDownV", "UpDownH"}) {
    auto* upDown = Get<TUpDown>(name);
    ASSERT_NE(upDown->Associate(), nullptr);
    EXPECT_EQ(reinterpret_cast<HWND>(SendMessageW(upDown->Handle(), UDM_GETBUDDY, 0, 0)),
              upDown->Associate()->Handle());
    EXPECT_EQ(static_cast<TEdit*>(upDown->Associate())->Text(), std::to_wstring(upDown->Position()));
  }
  EXPECT_TRUE(StyleOf(Wnd("UpDownH")) & UDS_HORZ);
  EXPECT_FALSE(StyleOf(Wnd("UpDownV")) & UDS_HORZ);
  EXPECT_FALSE(StyleOf(Wnd("DateCombo")) & DTS_UPDOWN);
  EXPECT_TRUE(StyleOf(Wnd("DateUpDown")) & DTS_UPDOWN);

  Gallery->Pages()->SetActivePageIndex(1);
  Pump();
  HWND memo = Wnd("Memo1");
  EXPECT_TRUE(StyleOf(memo) & WS_HSCROLL);
  EXPECT_TRUE(StyleOf(memo) & WS_VSCROLL);
  for (int bar : {SB_HORZ, SB_VERT}) {
    SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
    ASSERT_TRUE(GetScrollInfo(memo, bar, &info));
    EXPECT_GT(info.nMax - info.nMin + 1, static_cast<int>(info.nPage)) << "enough text to scroll, bar " << bar;
  }
  EXPECT_TRUE(StyleOf(Wnd("MemoReadOnly")) & ES_READONLY);
}

TEST_F(GalleryTest, ListsPageShowsListsThatScrollAndAScrollBoxOfItsOwnColour) {
  Gallery->Pages()->SetActivePageIndex(2);
  Pump();
  HWND list = Wnd("ListBox1");
  EXPECT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 40);
  EXPECT_TRUE(StyleOf(list) & WS_VSCROLL) << "more lines than fit";
  EXPECT_EQ(Get<TListBox>("ListBoxMulti")->SelCount(), 3);

  auto* view = Get<TListView>("ListView1");
  HWND wnd = view->Handle();
  EXPECT_EQ(StyleOf(wnd) & LVS_TYPEMASK, LVS_REPORT);
  EXPECT_EQ(SendMessageW(wnd, LVM_GETITEMCOUNT, 0, 0), 40);
  EXPECT_LT(SendMessageW(wnd, LVM_GETCOUNTPERPAGE, 0, 0), 40) << "the rows scroll";
  EXPECT_EQ(SendMessageW(view->HeaderHandle(), HDM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(wnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0)),
            Gallery->Images()->Handle());

  auto* box = Get<TScrollBox>("ScrollBox1");
  EXPECT_TRUE(StyleOf(box->Handle()) & WS_HSCROLL);
  EXPECT_TRUE(StyleOf(box->Handle()) & WS_VSCROLL);
  EXPECT_EQ(box->Color(), Gallery->SkinData()->Model().Colours.ButtonFaceColour) << "the skin gives it the face colour";
  const RECT beyond = Get<TButton>("ScrollFarButton")->BoundsRect();
  EXPECT_GT(beyond.right, box->Width()) << "children beyond its size";
}

TEST_F(GalleryTest, RangesPageShowsBarsAtTheirValuesAndBothWays) {
  EXPECT_EQ(SendMessageW(Wnd("Progress0"), PBM_GETPOS, 0, 0), 0);
  EXPECT_EQ(SendMessageW(Wnd("Progress50"), PBM_GETPOS, 0, 0), 50);
  EXPECT_EQ(SendMessageW(Wnd("Progress100"), PBM_GETPOS, 0, 0), 100);
  EXPECT_TRUE(StyleOf(Wnd("Progress50")) & PBS_SMOOTH);
  EXPECT_FALSE(StyleOf(Wnd("Progress100")) & PBS_SMOOTH);
  EXPECT_TRUE(StyleOf(Wnd("ProgressVertical")) & PBS_VERTICAL);

  EXPECT_TRUE(StyleOf(Wnd("TrackVertical")) & TBS_VERT);
  EXPECT_FALSE(StyleOf(Wnd("TrackHorizontal")) & TBS_VERT);
  EXPECT_TRUE(StyleOf(Wnd("TrackBoth")) & TBS_BOTH);
  EXPECT_GT(SendMessageW(Wnd("TrackHorizontal"), TBM_GETNUMTICS, 0, 0), 2) << "tick marks";
  EXPECT_FALSE(IsWindowEnabled(Wnd("TrackDisabled")));

  EXPECT_EQ(StyleOf(Wnd("ScrollVertical")) & SBS_VERT, SBS_VERT);
  EXPECT_EQ(StyleOf(Wnd("ScrollHorizontal")) & SBS_VERT, 0);
  EXPECT_FALSE(IsWindowEnabled(Wnd("ScrollDisabled")));
  EXPECT_GT(Get<TScrollBar>("ScrollVertical")->Height(), Get<TScrollBar>("ScrollVertical")->Width());
}

TEST_F(GalleryTest, TabsPageShowsTabsOnEverySideInRowsAndWithScrollers) {
  Gallery->Pages()->SetActivePageIndex(4);
  Pump();
  EXPECT_FALSE(StyleOf(Wnd("TabsTop")) & (TCS_BOTTOM | TCS_VERTICAL));
  EXPECT_EQ(StyleOf(Wnd("TabsBottom")) & (TCS_BOTTOM | TCS_VERTICAL), TCS_BOTTOM);
  EXPECT_EQ(StyleOf(Wnd("TabsLeft")) & (TCS_RIGHT | TCS_VERTICAL), TCS_VERTICAL);
  EXPECT_EQ(StyleOf(Wnd("TabsRight")) & (TCS_RIGHT | TCS_VERTICAL), TCS_RIGHT | TCS_VERTICAL);
  HWND multi = Wnd("TabsMultiLine");
  EXPECT_TRUE(StyleOf(multi) & TCS_MULTILINE);
  EXPECT_GT(SendMessageW(multi, TCM_GETROWCOUNT, 0, 0), 1) << "the tabs need more than one row";
  // The platform's arrows for tabs that do not fit are an up-down child of the control.
  HWND scrolling = Wnd("TabsScrolling");
  EXPECT_EQ(SendMessageW(scrolling, TCM_GETROWCOUNT, 0, 0), 1);
  HWND arrows = FindChildOfClass(scrolling, L"msctls_updown32");
  ASSERT_NE(arrows, nullptr);
  EXPECT_TRUE(IsWindowVisible(arrows));
  EXPECT_NE(reinterpret_cast<HIMAGELIST>(SendMessageW(scrolling, TCM_GETIMAGELIST, 0, 0)), nullptr);
  EXPECT_FALSE(IsWindowEnabled(Wnd("TabsDisabled")));

  auto* tabSet = Get<TTabSet>("TabSet1");
  EXPECT_LT(tabSet->VisibleTabs(), tabSet->Tabs().Count());
  ASSERT_NE(tabSet->Scroller(), nullptr);
  EXPECT_TRUE(IsWindowVisible(tabSet->Scroller()->Handle()));
  EXPECT_TRUE(tabSet->Scroller()->CanScrollRight());
}

TEST_F(GalleryTest, CtrlTabWalksThePagesAndTheStatusBarFollows) {
  Gallery->Pages()->SetFocus();
  Pump();
  BYTE saved[256], keys[256];
  GetKeyboardState(saved);
  std::copy(saved, saved + 256, keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  for (int expected : {1, 2, 3, 4, 0}) {
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    Pump();
    EXPECT_EQ(Gallery->Pages()->ActivePageIndex(), expected);
  }
  SetKeyboardState(saved);
  EXPECT_EQ(StatusText(TGalleryForm::kPagePanel), L"Page: Buttons");
}

TEST_F(GalleryTest, StatusBarNamesTheControlUnderTheMouseAndTicks) {
  Gallery->Pages()->SetActivePageIndex(2);
  Pump();
  HWND view = Wnd("ListView1");
  EXPECT_TRUE(MoveCursorTo(view, 60, 60, [&] { return StatusText(TGalleryForm::kHoverPanel) == L"TListView"; }));
  HWND sheet = Wnd("SheetLists");
  const RECT box = Get<TScrollBox>("ScrollBox1")->BoundsRect();
  EXPECT_TRUE(MoveCursorTo(sheet, box.left + 4, box.bottom + 30,
                           [&] { return StatusText(TGalleryForm::kHoverPanel) == L"TTabSheet"; }));
  const std::wstring clock = StatusText(TGalleryForm::kClockPanel);
  EXPECT_EQ(clock.size(), 8u) << "hh:mm:ss";
  EXPECT_TRUE(PumpUntil([&] { return StatusText(TGalleryForm::kClockPanel) != clock; }, 3000)) << "the clock runs";
}

TEST_F(GalleryTest, ShotModeStopsTheClockAndPutsTheFocusOnTheTabs) {
  TGalleryOptions options;
  options.Shot = true;
  options.Page = 3;
  Gallery->ApplyOptions(options);
  Pump();
  EXPECT_EQ(Gallery->Pages()->ActivePageIndex(), 3);
  EXPECT_EQ(GetFocus(), Gallery->Pages()->Handle());
  EXPECT_EQ(StatusText(TGalleryForm::kClockPanel), L"Ready");
  PumpUntil([] { return false; }, 1500);
  EXPECT_EQ(StatusText(TGalleryForm::kClockPanel), L"Ready") << "the clock stands still";
  EXPECT_EQ(StatusText(TGalleryForm::kHoverPanel), L"");
}

}  // namespace
}  // namespace kv::test
