// The gallery's menus and the windows they open under Wine: the menu bar's kinds of items
// as the platform holds them, the clipboard commands, the message boxes, the page popup,
// the MDI demo and the template dialog (modal from the menu, modeless at start).
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <future>
#include <thread>

#include "GalleryFixture.h"
#include "gallery/GalleryRes.h"
#include "skin/menus/WinSkinMenu.h"
#include "skin/windows/WinSkinForm.h"
#include "support/HandleCount.h"

namespace kv::test {
namespace {

constexpr ULONG_PTR kOurItemData = 0x4B560000;

// Waits on its own thread (bounded) for a visible "#32770" window of this process with
// this title, hands it to `look` and presses `button` in it.
template <class T>
std::future<T> WhenDialogShows(const std::wstring& title, std::function<T(HWND)> look, int button = IDOK) {
  return std::async(std::launch::async, [=] {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < end) {
      const std::vector<HWND> found = TopWindows(L"#32770", title);
      if (!found.empty()) {
        T seen = look(found.front());
        PostMessageW(found.front(), WM_COMMAND, button, 0);
        return seen;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return T{};
  });
}

template <class T>
T Await(std::future<T>& future) {
  EXPECT_TRUE(PumpUntil([&] { return future.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 15000));
  return future.get();
}

TEST_F(GalleryTest, MenuBarHoldsEveryKindOfItem) {
  // The skinned bar took the platform menu off the window; the component still holds it.
  EXPECT_EQ(GetMenu(Gallery->Handle()), nullptr);
  HMENU bar = Gallery->Menu()->Handle();
  const std::vector<TMenuEntry> top = MenuEntries(bar);
  ASSERT_EQ(top.size(), 5u);
  EXPECT_EQ(top[0].Text, L"&File");
  EXPECT_EQ(top[1].Text, L"&Edit");
  EXPECT_EQ(top[2].Text, L"&Window");
  EXPECT_EQ(top[3].Text, L"&Skins");
  EXPECT_EQ(top[4].Text, L"&Help");

  const std::vector<TMenuEntry> file = MenuEntries(top[0].Submenu);
  const TMenuEntry* exit = FindEntry(file, L"E&xit");
  ASSERT_NE(exit, nullptr);
  EXPECT_NE(exit->Text.find(L"\tAlt+F4"), std::wstring::npos);
  EXPECT_TRUE(file[file.size() - 2].Type & MFT_SEPARATOR);
  const TMenuEntry* boxes = FindEntry(file, L"Message &boxes");
  ASSERT_NE(boxes, nullptr);
  EXPECT_EQ(GetMenuItemCount(boxes->Submenu), 4);

  const std::vector<TMenuEntry> edit = MenuEntries(top[1].Submenu);
  for (const wchar_t* caption : {L"&Undo", L"Cu&t", L"&Copy", L"&Paste"}) {
    const TMenuEntry* e = FindEntry(edit, caption);
    ASSERT_NE(e, nullptr);
    EXPECT_NE(e->Text.find(L"\tCtrl+"), std::wstring::npos) << "a shortcut";
    EXPECT_EQ(e->Bitmap, HBMMENU_CALLBACK) << "an image from the list";
  }
  EXPECT_TRUE(FindEntry(edit, L"&Word wrap")->State & MFS_CHECKED);
  for (const wchar_t* radio : {L"&Small", L"&Medium", L"&Large"})
    EXPECT_TRUE(FindEntry(edit, radio)->Type & MFT_RADIOCHECK) << "a radio item";
  EXPECT_TRUE(FindEntry(edit, L"&Medium")->State & MFS_CHECKED);
  EXPECT_FALSE(FindEntry(edit, L"&Small")->State & MFS_CHECKED);
  EXPECT_TRUE(FindEntry(edit, L"Disabled item")->State & MFS_DISABLED);
  EXPECT_TRUE(FindEntry(edit, L"Default item")->State & MFS_DEFAULT);
  // Edit > Nested > Second level > Third level > Deepest item
  HMENU menu = FindEntry(edit, L"&Nested")->Submenu;
  for (const wchar_t* level : {L"Second level", L"Third level"}) {
    ASSERT_NE(menu, nullptr);
    menu = FindEntry(MenuEntries(menu), level)->Submenu;
  }
  ASSERT_NE(menu, nullptr);
  EXPECT_NE(FindEntry(MenuEntries(menu), L"Deepest item"), nullptr);

  // The radio group works as one: choosing Large lets go of Medium.
  ClickItem(Gallery, Item({L"Edit", L"Large"}));
  Pump();
  EXPECT_TRUE(Item({L"Edit", L"Large"})->Checked());
  EXPECT_FALSE(Item({L"Edit", L"Medium"})->Checked());
  EXPECT_TRUE(Item({L"Edit", L"Word wrap"})->Checked()) << "outside the group";
}

TEST_F(GalleryTest, ClipboardCommandsActOnTheFocusedControlThroughShortcutAndMenu) {
  HWND source = Wnd("EditNormal"), target = Wnd("EditFlat");
  SetFocus(source);
  SendMessageW(source, EM_SETSEL, 0, -1);
  BYTE saved[256], keys[256];
  GetKeyboardState(saved);
  std::copy(saved, saved + 256, keys);
  keys[VK_CONTROL] = 0x80;
  SetKeyboardState(keys);
  PostMessageW(source, WM_KEYDOWN, 'C', 1);
  Pump();
  SetKeyboardState(saved);
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const std::wstring copied = data ? static_cast<const wchar_t*>(GlobalLock(data)) : L"";
  if (data) GlobalUnlock(data);
  CloseClipboard();
  EXPECT_EQ(copied, L"Normal text");

  SetFocus(target);
  SendMessageW(target, EM_SETSEL, 0, -1);
  ClickItem(Gallery, Item({L"Edit", L"Paste"}));
  Pump();
  EXPECT_EQ(Get<TEdit>("EditFlat")->Text(), L"Normal text");
  ClickItem(Gallery, Item({L"Edit", L"Undo"}));
  Pump();
  EXPECT_EQ(Get<TEdit>("EditFlat")->Text(), L"Flat");
}

TEST_F(GalleryTest, MessageBoxesShowThePlatformsIcons) {
  struct TBox {
    std::wstring Text;
    HICON Icon = nullptr;
    bool HasNo = false;
  };
  const struct {
    const wchar_t* Item;
    LPCWSTR Icon;
  } kinds[] = {
      {L"Information", IDI_INFORMATION}, {L"Warning", IDI_WARNING}, {L"Error", IDI_ERROR}, {L"Question", IDI_QUESTION}};
  for (const auto& kind : kinds) {
    SCOPED_TRACE(testing::Message() << "box " << (&kind - kinds));
    const bool question = kind.Icon == IDI_QUESTION;
    auto seen = WhenDialogShows<TBox>(
        kGalleryTitle,
        [](HWND box) {
          TBox b;
          wchar_t text[512] = {};
          GetDlgItemTextW(box, 0xFFFF, text, 512);
          b.Text = text;
          for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
            if ((StyleOf(c) & SS_TYPEMASK) == SS_ICON && _wcsicmp(ClassNameOf(c).c_str(), L"Static") == 0)
              b.Icon = reinterpret_cast<HICON>(SendMessageW(c, STM_GETICON, 0, 0));
          b.HasNo = GetDlgItem(box, IDNO) != nullptr;
          return b;
        },
        question ? IDNO : IDOK);
    ClickItem(Gallery, Item({L"File", L"Message boxes", kind.Item}));
    const TBox box = Await(seen);
    EXPECT_EQ(box.Text.rfind(kind.Item, 0), 0u) << "the text names its kind";
    EXPECT_EQ(box.Icon, LoadIconW(nullptr, kind.Icon));
    EXPECT_EQ(box.HasNo, question);
  }
  auto about = WhenDialogShows<std::wstring>(kGalleryTitle, [](HWND box) {
    wchar_t text[512] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 512);
    return std::wstring(text);
  });
  ClickItem(Gallery, Item({L"Help", L"About Koravent Gallery..."}));
  EXPECT_EQ(Await(about).rfind(L"Koravent Gallery", 0), 0u);
}

int GPopupEntries = -1;
void CALLBACK EndPopupWhenShown(HWND, UINT, UINT_PTR, DWORD) {
  const std::vector<HWND> menus = TopWindows(L"#32768");
  if (menus.empty() || GPopupEntries >= 0) return;
  GPopupEntries = GetMenuItemCount(reinterpret_cast<HMENU>(SendMessageW(menus.front(), MN_GETHMENU, 0, 0)));
  EndMenu();
}

TEST_F(GalleryTest, ARightClickOnAPageShowsThePagePopup) {
  HWND sheet = Wnd("SheetButtons");
  GPopupEntries = -1;
  const UINT_PTR timer = SetTimer(nullptr, 0, 20, &EndPopupWhenShown);
  PostMessageW(sheet, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(300, 380));
  PostMessageW(sheet, WM_RBUTTONUP, 0, MAKELPARAM(300, 380));
  EXPECT_TRUE(PumpUntil([] { return GPopupEntries >= 0; }));
  KillTimer(nullptr, timer);
  EXPECT_EQ(GPopupEntries, Gallery->PagePopup()->Items()->Count());
  EXPECT_EQ(Gallery->PagePopup()->PopupComponent(), Gallery->Pages()) << "the sheet passed the click on";
  // Its first item turns the page.
  ClickItem(Gallery, Gallery->PagePopup()->Items()->Items(0));
  Pump();
  EXPECT_EQ(Gallery->Pages()->ActivePageIndex(), 1);
}

TEST_F(GalleryTest, MdiDemoOpensThreeChildrenListsThemAndTakesAMaximisedChildsButtons) {
  ClickItem(Gallery, Item({L"File", L"Open MDI demo"}));
  Pump();
  TGalleryMdiFrame* frame = Gallery->MdiDemo();
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->FormStyle(), fsMDIForm);
  EXPECT_EQ(_wcsicmp(ClassNameOf(frame->ClientHandle()).c_str(), L"MDIClient"), 0);
  ASSERT_EQ(frame->MDIChildCount(), 3);
  for (int i = 0; i < 3; ++i) {
    HWND child = frame->MDIChildren(i)->Handle();
    EXPECT_EQ(GetParent(child), frame->ClientHandle());
    EXPECT_TRUE(GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_MDICHILD);
  }
  EXPECT_NE(App->FindComponent("MdiChild1")->FindComponent("ChildMemo"), nullptr);
  EXPECT_NE(App->FindComponent("MdiChild2")->FindComponent("ChildEdit"), nullptr);
  EXPECT_NE(App->FindComponent("MdiChild3")->FindComponent("ChildList"), nullptr);

  // The platform lists the children after our items in the frame's Window menu.
  const std::vector<TMenuEntry> window = MenuEntries(frame->WindowMenu()->Handle());
  int listed = 0;
  for (const TMenuEntry& e : window)
    for (const wchar_t* title : {L"Notes 1", L"Controls 2", L"List 3"})
      listed += e.Text.find(title) != std::wstring::npos && (e.Data & 0xFFFF0000) != kOurItemData;
  EXPECT_EQ(listed, 3);
  EXPECT_EQ(window[0].Text, L"&Cascade");

  // The gallery's own Window menu steers the demo.
  TForm* active = frame->ActiveMDIChild();
  ClickItem(Gallery, Item({L"Window", L"Next child"}));
  Pump();
  EXPECT_NE(frame->ActiveMDIChild(), active);

  // A maximised child's buttons go on the frame's skinned bar (the platform's own bar is
  // off the window); the bar keeps the frame's own items.
  TWinSkinForm* frameSkin = TSkinManage::Instance()->FindFormSkin(frame->Handle());
  ASSERT_NE(frameSkin, nullptr);
  ASSERT_NE(frameSkin->MenuBar(), nullptr);
  const int items = frameSkin->MenuBar()->ButtonCount();
  EXPECT_EQ(items, frame->Menu()->Items()->Count());
  TForm* child = frame->ActiveMDIChild();
  child->SetWindowState(wsMaximized);
  Pump();
  EXPECT_TRUE(TSkinManage::Instance()->MdiMaximized()) << "the child's buttons are on the frame's bar";
  EXPECT_EQ(frameSkin->MenuBar()->ButtonCount(), items);
  child->SetWindowState(wsNormal);
  Pump();
  EXPECT_EQ(frameSkin->MenuBar()->ButtonCount(), items);

  const int forms = App->FormCount();
  frame->Close();
  EXPECT_TRUE(PumpUntil([&] { return Gallery->MdiDemo() == nullptr; }));
  EXPECT_EQ(App->FormCount(), forms - 4) << "the frame went with its children";
  ClickItem(Gallery, Item({L"Window", L"Open MDI demo"}));
  Pump();
  ASSERT_NE(Gallery->MdiDemo(), nullptr) << "and opens again";
  EXPECT_EQ(Gallery->MdiDemo()->MDIChildCount(), 3);
}

struct TChildSeen {
  std::wstring Class;
  LONG_PTR Style = 0;
};
struct TDialogSeen {
  std::map<int, TChildSeen> Children;
  LRESULT Check = -1, Check3 = -1, Radio1 = -1, Tabs = -1, DropList = -1;
  int ScrollPos = -1;
};

TDialogSeen LookAtTemplateDialog(HWND dialog) {
  TDialogSeen seen;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    seen.Children[GetDlgCtrlID(c)] = {ClassNameOf(c), StyleOf(c)};
  seen.Check = IsDlgButtonChecked(dialog, IDC_TPL_CHECK);
  seen.Check3 = IsDlgButtonChecked(dialog, IDC_TPL_CHECK3);
  seen.Radio1 = IsDlgButtonChecked(dialog, IDC_TPL_RADIO1);
  seen.Tabs = SendDlgItemMessageW(dialog, IDC_TPL_TABS, TCM_GETITEMCOUNT, 0, 0);
  seen.DropList = SendDlgItemMessageW(dialog, IDC_TPL_DROPLIST, CB_GETCURSEL, 0, 0);
  seen.ScrollPos = GetScrollPos(GetDlgItem(dialog, IDC_TPL_SCROLL), SB_CTL);
  return seen;
}

void ExpectTemplateControls(const TDialogSeen& seen) {
  const struct {
    int Id;
    const wchar_t* Class;
    LONG_PTR Mask, Style;
  } expected[] = {
      {IDC_TPL_GROUP, L"Button", BS_TYPEMASK, BS_GROUPBOX},
      {IDC_TPL_CHECK, L"Button", BS_TYPEMASK, BS_AUTOCHECKBOX},
      {IDC_TPL_CHECK3, L"Button", BS_TYPEMASK, BS_AUTO3STATE},
      {IDC_TPL_RADIO1, L"Button", BS_TYPEMASK, BS_AUTORADIOBUTTON},
      {IDC_TPL_RADIO2, L"Button", BS_TYPEMASK, BS_AUTORADIOBUTTON},
      {IDC_TPL_OWNERDRAW, L"Button", BS_TYPEMASK, BS_OWNERDRAW},
      {IDOK, L"Button", BS_TYPEMASK, BS_DEFPUSHBUTTON},
      {IDCANCEL, L"Button", BS_TYPEMASK, BS_PUSHBUTTON},
      {IDC_TPL_STATIC, L"Static", 0, 0},
      {IDC_TPL_EDIT, L"Edit", 0, 0},
      {IDC_TPL_SCROLL, L"ScrollBar", SBS_VERT, SBS_HORZ},
      {IDC_TPL_SIMPLE, L"ComboBox", 3, CBS_SIMPLE},
      {IDC_TPL_DROPDOWN, L"ComboBox", 3, CBS_DROPDOWN},
      {IDC_TPL_DROPLIST, L"ComboBox", 3, CBS_DROPDOWNLIST},
      {IDC_TPL_TABS, L"SysTabControl32", 0, 0},
  };
  EXPECT_EQ(seen.Children.size(), std::size(expected));
  for (const auto& e : expected) {
    auto child = seen.Children.find(e.Id);
    ASSERT_NE(child, seen.Children.end()) << "control " << e.Id;
    EXPECT_EQ(_wcsicmp(child->second.Class.c_str(), e.Class), 0) << "control " << e.Id;
    EXPECT_EQ(child->second.Style & e.Mask, e.Style) << "control " << e.Id;
  }
  EXPECT_EQ(seen.Check, BST_CHECKED);
  EXPECT_EQ(seen.Check3, BST_INDETERMINATE);
  EXPECT_EQ(seen.Radio1, BST_CHECKED);
  EXPECT_EQ(seen.Tabs, 3);
  EXPECT_EQ(seen.DropList, 3);
  EXPECT_EQ(seen.ScrollPos, 40);
}

TEST_F(GalleryTest, TemplateDialogRunsModalFromTheMenuAndEndsWithOk) {
  auto seen = WhenDialogShows<TDialogSeen>(kTemplateDialogTitle, &LookAtTemplateDialog, IDOK);
  ClickItem(Gallery, Item({L"File", L"Dialog from a template..."}));
  ExpectTemplateControls(Await(seen));
  EXPECT_TRUE(PumpUntil([] { return TopWindows(L"#32770", kTemplateDialogTitle).empty(); }));
  EXPECT_EQ(TTemplateDialog::ModalHandle(), nullptr);
}

TEST_F(GalleryTest, ModelessDialogDrawsItsOwnButtonScrollsAndGoesWithCancel) {
  const long owned = CurrentHandleCounts().OwnedUser;
  Gallery->ShowTemplateDialogModeless();
  HWND dialog = Gallery->ModelessDialog().Handle();
  ASSERT_TRUE(IsWindow(dialog));
  EXPECT_EQ(ClassNameOf(dialog), L"#32770");
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), Gallery->Handle());
  ExpectTemplateControls(LookAtTemplateDialog(dialog));
  EXPECT_EQ(CurrentHandleCounts().OwnedUser, owned + 1);

  // The owner-drawn button is drawn by the dialog: its caption is dark on the face.
  HWND button = GetDlgItem(dialog, IDC_TPL_OWNERDRAW);
  RedrawWindow(button, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  Pump();
  RECT r;
  GetClientRect(button, &r);
  int dark = 0;
  for (int x = r.left + 3; x < r.right - 3; ++x) {
    const std::uint32_t p = ScreenPixel(button, x, (r.top + r.bottom) / 2);
    dark += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF) < 3 * 96;
  }
  EXPECT_GT(dark, 3) << "the caption is drawn";
  EXPECT_EQ(ScreenPixel(button, r.right / 2, 1), SystemPixel(COLOR_BTNHIGHLIGHT)) << "a raised edge";

  // The scroll-bar control moves where the dialog puts it.
  HWND bar = GetDlgItem(dialog, IDC_TPL_SCROLL);
  SendMessageW(dialog, WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(bar));
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 50);

  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  Pump();
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(Gallery->ModelessDialog().Handle(), nullptr);
  EXPECT_EQ(CurrentHandleCounts().OwnedUser, owned) << "let go once";
}

TEST_F(GalleryTest, StartSwitchesOpenTheMdiDemoAndAModelessDialogThatGoesWithItsOwner) {
  TGalleryOptions options;
  options.Mdi = true;
  options.Dialog = true;
  Gallery->ApplyOptions(options);
  Pump();
  ASSERT_NE(Gallery->MdiDemo(), nullptr);
  EXPECT_EQ(Gallery->MdiDemo()->MDIChildCount(), 3);
  HWND dialog = Gallery->ModelessDialog().Handle();
  ASSERT_TRUE(IsWindow(dialog));
  EXPECT_EQ(TTemplateDialog::ModalHandle(), nullptr) << "modeless: the program goes on";
  EXPECT_EQ(TopWindows(L"#32770", kTemplateDialogTitle).size(), 1u);
  // The platform destroys an owned window with its owner; the dialog object lets it go.
  Gallery->DestroyHandle();
  EXPECT_FALSE(IsWindow(dialog));
  EXPECT_EQ(Gallery->ModelessDialog().Handle(), nullptr);
}

}  // namespace
}  // namespace kv::test
