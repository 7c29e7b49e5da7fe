// What a screen reader finds of the gallery's skinned menus: the bar drawn in the frame as
// a menu bar object whose buttons open their drop-downs, and owner-drawn popup items that
// still carry their text.
#include <gtest/gtest.h>
#include <windows.h>

#include <oleacc.h>

#include "GalleryFixture.h"
#include "framework/Menus.h"
#include "skin/windows/WinSkinForm.h"
#include "support/AccessibleRead.h"

namespace kv::test {
namespace {

template <class T>
T AwaitReader(std::future<T>& reading) {
  EXPECT_TRUE(
      PumpUntil([&] { return reading.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 60000));
  return reading.get();
}

HWND VisibleDropDown() {
  const std::vector<HWND> open = TopWindows(L"#32768");
  return open.empty() ? nullptr : open.front();
}

TEST_F(GalleryTest, TheSkinnedMenuBarIsAMenuBarObjectWhoseButtonsOpenTheirDropDowns) {
  struct TRow {
    const wchar_t* Name;
    const wchar_t* Shortcut;
  };
  const TRow rows[] = {
      {L"File", L"Alt+F"}, {L"Edit", L"Alt+E"}, {L"Window", L"Alt+W"}, {L"Skins", L"Alt+S"}, {L"Help", L"Alt+H"},
  };
  ASSERT_EQ(GetMenu(Gallery->Handle()), nullptr) << "the skin draws the bar";
  // Per button: the menu of the drop-down its default action opened.
  std::vector<HMENU> opened(std::size(rows));
  auto reading = ReadAccessibleObject(Gallery->Handle(), OBJID_MENU, [&](IAccessible& bar, TAccessibleSeen& seen) {
    for (long i = 1; i <= long(seen.Children.size()) && i <= long(std::size(rows)); ++i) {
      if (FAILED(bar.accDoDefaultAction(ChildId(i)))) continue;
      if (!WaitFor([] { return VisibleDropDown() != nullptr; })) continue;
      const HWND dropDown = VisibleDropDown();
      DWORD_PTR menu = 0;
      SendMessageTimeoutW(dropDown, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, 5000, &menu);
      opened[std::size_t(i - 1)] = reinterpret_cast<HMENU>(menu);
      PostMessageW(dropDown, WM_KEYDOWN, VK_ESCAPE, 0);
      WaitFor([] { return VisibleDropDown() == nullptr; });
    }
  });
  const TAccessibleSeen seen = AwaitReader(reading);
  ASSERT_HRESULT_SUCCEEDED(seen.Status);
  EXPECT_EQ(seen.Self.Role, ROLE_SYSTEM_MENUBAR);
  ASSERT_EQ(seen.Children.size(), std::size(rows));

  RECT window{};
  GetWindowRect(Gallery->Handle(), &window);
  POINT client{0, 0};
  ClientToScreen(Gallery->Handle(), &client);
  long previousRight = window.left;
  for (std::size_t i = 0; i < std::size(rows); ++i) {
    const TAccessiblePartSeen& button = seen.Children[i];
    SCOPED_TRACE(testing::Message() << "button " << i);
    EXPECT_EQ(button.Name, rows[i].Name);
    EXPECT_EQ(button.Shortcut, rows[i].Shortcut);
    EXPECT_EQ(button.Role, ROLE_SYSTEM_MENUITEM);
    EXPECT_EQ(button.DefaultAction, L"Open");
    EXPECT_TRUE(button.State & STATE_SYSTEM_HASPOPUP);
    EXPECT_FALSE(button.State & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_INVISIBLE));
    // On the bar: inside the window above its client area, left to right in menu order.
    const RECT& r = button.Location;
    EXPECT_LT(r.left, r.right);
    EXPECT_GE(r.left, previousRight);
    EXPECT_LE(r.right, window.right);
    EXPECT_GT(r.top, window.top);
    EXPECT_LE(r.bottom, client.y);
    previousRight = r.right;
    // Its own drop-down opened, no other.
    TMenuItem* item = Item({rows[i].Name});
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(opened[i], item->Handle());
  }
  EXPECT_TRUE(PumpUntil([] { return VisibleDropDown() == nullptr; }));
}

TEST_F(GalleryTest, OwnerDrawnPopupItemsKeepTheirTextAndTheirItemData) {
  auto* skin = TSkinManage::Instance()->FindFormSkin(Gallery->Handle());
  ASSERT_NE(skin, nullptr);
  struct TRow {
    const char* What;
    TPopupMenu* Menu;
  };
  const TRow rows[] = {{"the page popup", Gallery->PagePopup()}, {"the skin's system menu", skin->SystemPopup()}};
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.What);
    ASSERT_NE(row.Menu, nullptr);
    TMenuItem* root = row.Menu->Items();
    HMENU menu = root->Handle();
    ASSERT_EQ(GetMenuItemCount(menu), root->Count());
    for (int i = 0; i < root->Count(); ++i) {
      const TMenuItem* item = root->Items(i);
      if (item->IsLine()) continue;
      SCOPED_TRACE(testing::Message() << "item " << i);
      std::wstring expected = item->Caption();
      if (item->ShortCut()) expected += L'\t' + ShortCutToText(item->ShortCut());
      wchar_t text[128] = {};
      MENUITEMINFOW info{};
      info.cbSize = sizeof(info);
      info.fMask = MIIM_FTYPE | MIIM_STRING | MIIM_DATA;
      info.dwTypeData = text;
      info.cch = 128;
      ASSERT_TRUE(GetMenuItemInfoW(menu, UINT(i), TRUE, &info));
      EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << "skinned popups draw their items";
      EXPECT_EQ(std::wstring(text), expected);
      EXPECT_EQ(info.dwItemData, 0x4B560000u | item->Command()) << "the drawing finds its item by this";
      wchar_t read[128] = {};
      EXPECT_EQ(GetMenuStringW(menu, UINT(i), read, 128, MF_BYPOSITION), int(expected.size()));
      EXPECT_EQ(std::wstring(read), expected);
    }
  }
}

}  // namespace
}  // namespace kv::test
