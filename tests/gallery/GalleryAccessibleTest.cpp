// What a screen reader finds of the gallery: the skinned menu bar drawn in the frame as a
// menu bar object whose buttons open their drop-downs, owner-drawn popup items that still
// carry their text, and every control of every page read as it is without the skin.
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
  EXPECT_TRUE(PumpUntil([&] { return reading.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 60000));
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

// Every control of every page, and its items, reads the same name, role and state skinned
// as with the platform's look: the skin changes how controls look, never what they say.
TEST_F(GalleryTest, EveryControlOfEveryPageReadsTheSameSkinnedAndUnskinned) {
  // Per page, the visible windows of the form (the page's controls, the bars, the tabs).
  const auto shownWindows = [this] {
    std::vector<HWND> windows;
    EnumChildWindows(
        Gallery->Handle(),
        [](HWND wnd, LPARAM list) {
          if (IsWindowVisible(wnd)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(wnd);
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
  };
  // What the platform's proxies take a control's role and states from besides its text:
  // its class (a superclass reads as its base) and its class's own style bits.
  struct TRoleSource {
    std::wstring Class;
    LONG_PTR Style;
    bool operator==(const TRoleSource&) const = default;
  };
  std::vector<std::vector<TRoleSource>> sources;
  const auto readPages = [&] {
    std::vector<std::pair<std::vector<HWND>, std::vector<TAccessibleSeen>>> pages;
    for (int page = 0; page < int(kGalleryPages.size()); ++page) {
      Gallery->Pages()->SetActivePageIndex(page);
      Pump();
      std::vector<HWND> windows = shownWindows();
      auto& roles = sources.emplace_back();
      for (HWND wnd : windows) {
        wchar_t real[64] = {};
        RealGetWindowClassW(wnd, real, 64);
        // The size grip is the skin's to draw, which it says by taking the style away.
        const LONG_PTR own = wnd == Gallery->StatusBar()->Handle() ? ~LONG_PTR(SBARS_SIZEGRIP) : ~LONG_PTR(0);
        roles.push_back({real, GetWindowLongPtrW(wnd, GWL_STYLE) & 0xFFFF & own});
      }
      auto reading = ReadClientObjects(windows);
      pages.emplace_back(std::move(windows), AwaitReader(reading));
    }
    return pages;
  };
  ASSERT_EQ(SendMessageW(Gallery->Handle(), SM_ISSKINNED, 0, 0), 1);
  const auto skinned = readPages();
  Gallery->UseNoSkin();
  ASSERT_TRUE(PumpUntil([this] { return SendMessageW(Gallery->Handle(), SM_ISSKINNED, 0, 0) == 0; }, 5000));
  const auto plain = readPages();
  ASSERT_EQ(sources.size(), 2 * kGalleryPages.size());

  // The mouse's place and the clock are not the skin's doing.
  const auto steady = [](long state) { return state & ~long(STATE_SYSTEM_HOTTRACKED); };
  const HWND status = Gallery->StatusBar()->Handle();
  int compared = 0;
  for (std::size_t page = 0; page < skinned.size(); ++page) {
    SCOPED_TRACE(testing::Message() << "page " << kGalleryPages[page]);
    ASSERT_EQ(skinned[page].first, plain[page].first) << "the same windows show";
    for (std::size_t i = 0; i < skinned[page].first.size(); ++i) {
      const HWND wnd = skinned[page].first[i];
      const TAccessibleSeen &a = skinned[page].second[i], &b = plain[page].second[i];
      SCOPED_TRACE(testing::Message() << ClassNameOf(wnd) << " #" << GetDlgCtrlID(wnd));
      const TRoleSource &roleA = sources[page][i], &roleB = sources[page + kGalleryPages.size()][i];
      EXPECT_TRUE(roleA == roleB) << "class " << roleA.Class << " / " << roleB.Class << ", style " << std::hex
                                  << roleA.Style << " / " << roleB.Style;
      ASSERT_HRESULT_SUCCEEDED(a.Status);
      ASSERT_HRESULT_SUCCEEDED(b.Status);
      EXPECT_EQ(a.Self.Name, b.Self.Name);
      EXPECT_EQ(a.Self.Role, b.Self.Role);
      EXPECT_EQ(steady(a.Self.State), steady(b.Self.State));
      EXPECT_EQ(a.Self.Shortcut, b.Self.Shortcut);
      ASSERT_EQ(a.Children.size(), b.Children.size());
      for (std::size_t c = 0; c < a.Children.size(); ++c) {
        if (wnd != status) {
          EXPECT_EQ(a.Children[c].Name, b.Children[c].Name) << "item " << c;
        }
        EXPECT_EQ(a.Children[c].Role, b.Children[c].Role) << "item " << c;
        EXPECT_EQ(steady(a.Children[c].State), steady(b.Children[c].State)) << "item " << c;
      }
      ++compared;
    }
  }
  EXPECT_GE(compared, 60) << "every page's controls were read";
}

}  // namespace
}  // namespace kv::test
