// Image lists, list boxes and list views under Wine: images counted and drawn, items and
// columns read back with the platform's own messages, selections by posted clicks.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>
#include <utility>
#include <vector>

#include "CtrlTestFixture.h"
#include "framework/ListCtrls.h"
#include "support/HandleCount.h"
#include "support/ScaledLayout.h"

namespace kv {
namespace {

using test::PumpUntil;
using test::StyleOf;
using test::TMessageRecorder;

class ListCtrlsTest : public test::TControlTest {};

// `count` images of 16 x 16 side by side, image i a square of colours[i] on fuchsia.
const TBitmap& Strip(TBitmap&& strip, std::initializer_list<std::uint32_t> colours) {
  strip.SetSize(16 * static_cast<int>(colours.size()), 16);
  int i = 0;
  for (std::uint32_t colour : colours) {
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        strip.ScanLine(y)[i * 16 + x] = (x >= 2 && x < 14 && y >= 2 && y < 14) ? colour : 0xFF00FF;
    ++i;
  }
  return strip;
}

std::uint32_t PixelAt(TBitmap& bitmap, int x, int y) {
  GdiFlush();
  return bitmap.ScanLine(y)[x] & 0xFFFFFF;
}

TEST(ImageList, AddsMaskedImagesAndDrawsThemEnabledAndDisabled) {
  test::THandleLeakCheck leaks;
  {
    TImageList images;
    EXPECT_EQ(images.Add(Strip(TBitmap{}, {0x00C000, 0xC00000}), clFuchsia), 0);
    EXPECT_EQ(images.Add(Strip(TBitmap{}, {0x0000C0}), clFuchsia), 2);
    EXPECT_EQ(images.Count(), 3);

    TBitmap target(40, 20);
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 40; ++x) target.ScanLine(y)[x] = 0x404040;
    images.Draw(target.Canvas(), 0, 0, 1);
    EXPECT_EQ(PixelAt(target, 8, 8), 0xC00000u);
    EXPECT_EQ(PixelAt(target, 1, 1), 0x404040u) << "the mask colour is transparent";
    images.Draw(target.Canvas(), 20, 0, 2, false);
    EXPECT_EQ(PixelAt(target, 28, 8), test::SystemPixel(COLOR_BTNSHADOW)) << "disabled: embossed";
    EXPECT_EQ(PixelAt(target, 21, 1), 0x404040u);

    images.Delete(0);
    EXPECT_EQ(images.Count(), 2);
    HIMAGELIST handle = images.Handle();
    images.SetSize(32, 24);
    EXPECT_EQ(images.Handle(), handle) << "controls showing the list keep it";
    EXPECT_EQ(images.Count(), 0);
    int w = 0, h = 0;
    ImageList_GetIconSize(handle, &w, &h);
    EXPECT_EQ(std::pair(w, h), std::pair(32, 24));
    EXPECT_EQ(images.Add(Strip(TBitmap{}, {0x00C000}), clNone), 0) << "a narrower picture is widened";
    EXPECT_EQ(images.Count(), 1);
  }
  EXPECT_TRUE(leaks.NothingLeaked());
}

TEST_F(ListCtrlsTest, ListBoxItemsSelectionAndScrollBarsWhenNeeded) {
  auto* list = Add<TListBox>(10, 10, 120, 100);
  list->SetSorted(true);
  for (const wchar_t* item : {L"pear", L"apple", L"fig"}) list->Items().Add(item);
  list->SetItemIndex(1);
  int clicks = 0;
  list->OnClick = [&](TComponent*) { ++clicks; };
  ShowForm();
  HWND wnd = list->Handle();
  ASSERT_EQ(SendMessageW(wnd, LB_GETCOUNT, 0, 0), 3);
  std::vector<std::wstring> shown;
  for (int i = 0; i < 3; ++i) {
    wchar_t text[32] = {};
    SendMessageW(wnd, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
    shown.push_back(text);
  }
  EXPECT_EQ(shown, (std::vector<std::wstring>{L"apple", L"fig", L"pear"}));
  EXPECT_EQ(SendMessageW(wnd, LB_GETCURSEL, 0, 0), 1);
  EXPECT_FALSE(StyleOf(wnd) & WS_VSCROLL) << "three lines fit";

  TMessageRecorder skin(*list);
  RECT item{};
  SendMessageW(wnd, LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item));
  ClickAt(wnd, item);
  ASSERT_TRUE(PumpUntil([&] { return list->ItemIndex() == 2; }));
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(test::CommandCodes(skin), std::vector<int>{LBN_SELCHANGE});
  list->SetItemIndex(0);
  EXPECT_EQ(clicks, 1) << "a program's change is no click";

  for (int i = 0; i < 20; ++i) list->Items().Add(L"line " + std::to_wstring(i));
  EXPECT_TRUE(StyleOf(wnd) & WS_VSCROLL) << "too many lines: a vertical bar";
  EXPECT_FALSE(StyleOf(wnd) & WS_HSCROLL);
  list->Items().Add(L"a line far too long to be shown whole in a box this narrow");
  EXPECT_TRUE(StyleOf(wnd) & WS_HSCROLL) << "a line too wide: a horizontal bar";
  EXPECT_EQ(list->ItemIndex(), 0) << "the selection stays with the changed lines";

  list->SetMultiSelect(true);
  EXPECT_TRUE(StyleOf(list->Handle()) & LBS_EXTENDEDSEL);
  EXPECT_TRUE(list->Selected(0)) << "the selection survives the new window";
  list->SetSelected(3, true);
  EXPECT_EQ(SendMessageW(list->Handle(), LB_GETSELCOUNT, 0, 0), 2);
  EXPECT_EQ(list->SelCount(), 2);
}

class ListViewTest : public ListCtrlsTest {
 protected:
  void SetUp() override {
    ListCtrlsTest::SetUp();
    Images = Form->Make<TImageList>();
    Images->Add(Strip(TBitmap{}, {0x00C000, 0xC00000}), clFuchsia);
    View = Add<TListView>(10, 10, 300, 200);
    View->SetViewStyle(vsReport);
    View->AddColumn(L"Name", 120);
    View->AddColumn(L"Size", 60, taRightJustify);
    View->AddItem(L"alpha", 0, {L"1 KB"});
    View->AddItem(L"beta", 1, {L"2 KB"});
    View->AddItem(L"gamma");
    View->SetSmallImages(Images);
  }
  std::wstring ItemText(int item, int subItem) {
    wchar_t text[64] = {};
    LVITEMW lv{};
    lv.iSubItem = subItem;
    lv.pszText = text;
    lv.cchTextMax = 64;
    SendMessageW(View->Handle(), LVM_GETITEMTEXTW, item, reinterpret_cast<LPARAM>(&lv));
    return text;
  }
  TImageList* Images = nullptr;
  TListView* View = nullptr;
};

TEST_F(ListViewTest, ColumnsAndItemsReachThePlatformListView) {
  View->SetItemIndex(1);
  View->SetRowSelect(true);
  View->SetGridLines(true);
  ShowForm();
  HWND wnd = View->Handle();
  EXPECT_EQ(StyleOf(wnd) & LVS_TYPEMASK, LVS_REPORT);
  HWND header = View->HeaderHandle();
  ASSERT_NE(header, nullptr);
  EXPECT_EQ(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0), 2);
  wchar_t caption[32] = {};
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
  column.pszText = caption;
  column.cchTextMax = 32;
  SendMessageW(wnd, LVM_GETCOLUMNW, 1, reinterpret_cast<LPARAM>(&column));
  EXPECT_EQ(std::wstring(caption), L"Size");
  EXPECT_EQ(column.cx, 60);
  EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);

  ASSERT_EQ(SendMessageW(wnd, LVM_GETITEMCOUNT, 0, 0), 3);
  EXPECT_EQ(ItemText(0, 0), L"alpha");
  EXPECT_EQ(ItemText(1, 1), L"2 KB");
  LVITEMW item{};
  item.mask = LVIF_IMAGE;
  item.iItem = 1;
  SendMessageW(wnd, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(item.iImage, 1);
  EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageW(wnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0)), Images->Handle());
  EXPECT_EQ(SendMessageW(wnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1)
      << "selected before the window existed";
  const LRESULT extended = SendMessageW(wnd, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
  EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
  EXPECT_TRUE(extended & LVS_EX_GRIDLINES);

  // Changes after the window exists, and what the user did to a column.
  View->SetSubItem(2, 0, L"3 KB");
  EXPECT_EQ(ItemText(2, 1), L"3 KB");
  View->SetItemCaption(0, L"ALPHA");
  EXPECT_EQ(ItemText(0, 0), L"ALPHA");
  SendMessageW(wnd, LVM_SETCOLUMNWIDTH, 0, 150);
  EXPECT_EQ(View->Column(0).Width, 150);
  View->SetViewStyle(vsSmallIcon);
  EXPECT_EQ(StyleOf(wnd) & LVS_TYPEMASK, LVS_SMALLICON);
  View->SetViewStyle(vsReport);
  EXPECT_EQ(SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 0, 0), 150);

  // The list view does not own the image list: it goes with the form's component.
  Form->DestroyComponent(Images);
  EXPECT_EQ(View->SmallImages(), nullptr);
  EXPECT_EQ(SendMessageW(wnd, LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0);
}

TEST_F(ListViewTest, ClickingItemsReportsEachSelectionChangeOnce) {
  std::vector<std::pair<int, bool>> selections;
  int changes = 0;
  View->OnSelectItem = [&](TComponent*, int index, bool selected) { selections.emplace_back(index, selected); };
  View->OnChange = [&](TComponent*, int) { ++changes; };
  ShowForm();
  HWND wnd = View->Handle();
  test::TNotifications skin(*View);
  auto itemRect = [&](int index) {
    RECT r{};
    r.left = LVIR_LABEL;
    SendMessageW(wnd, LVM_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
  };
  ClickAt(wnd, itemRect(1));
  ASSERT_TRUE(PumpUntil([&] { return View->ItemIndex() == 1; }));
  EXPECT_EQ(selections, (std::vector<std::pair<int, bool>>{{1, true}}));
  ClickAt(wnd, itemRect(2));
  ASSERT_TRUE(PumpUntil([&] { return View->ItemIndex() == 2; }));
  EXPECT_EQ(selections, (std::vector<std::pair<int, bool>>{{1, true}, {1, false}, {2, true}}));
  EXPECT_GE(changes, 3);
  EXPECT_TRUE(View->Item(2).Selected);
  EXPECT_FALSE(View->Item(1).Selected);
  EXPECT_GE(skin.Count(LVN_ITEMCHANGED), 3) << "reflected as 0xBC4E";

  // The state outlives the window.
  View->SetMultiSelect(true);
  EXPECT_FALSE(StyleOf(View->Handle()) & LVS_SINGLESEL);
  EXPECT_EQ(SendMessageW(View->Handle(), LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 2);
  View->SetSelected(0, true);
  EXPECT_EQ(View->SelCount(), 2);
}

TEST_F(ListViewTest, ColumnsAndRowsFollowTheFormsScaleKeepingWhatTheUserDragged) {
  ShowForm();
  HWND wnd = View->Handle();
  SendMessageW(wnd, LVM_SETCOLUMNWIDTH, 1, 80);  // the user's width
  int from = 96;
  for (const int dpi : {144, 120, 96}) {
    test::SendScaleChange(Form->Handle(), std::exchange(from, dpi), dpi);
    test::Pump();
    EXPECT_EQ(SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 0, 0), test::Scale(120, dpi)) << dpi;
    EXPECT_EQ(SendMessageW(wnd, LVM_GETCOLUMNWIDTH, 1, 0), test::Scale(80, dpi)) << dpi;
    EXPECT_EQ(View->Column(0).Width, 120) << dpi << ": widths are told in 96-DPI units";
    EXPECT_EQ(View->Column(1).Width, 80) << dpi;
    RECT row{LVIR_BOUNDS, 0, 0, 0};
    SendMessageW(wnd, LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
    EXPECT_GE(row.bottom - row.top, Images->Height()) << dpi << ": rows hold the images at their new size";
  }
}

}  // namespace
}  // namespace kv
