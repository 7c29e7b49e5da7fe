// MDI under Wine: a frame form with its client window beside its bars, children made
// through the client's WM_MDICREATE, activated, maximised (the platform's buttons in our
// menu bar), restored, cascaded and tiled, listed in the window menu, closed and freed,
// and the keys of the frame (its menu's shortcuts, Ctrl+F4, Ctrl+F6) from a child.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "framework/ComCtrls.h"
#include "framework/Forms.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "support/MessageRecorder.h"
#include "support/ScaledLayout.h"

namespace kv {
namespace {

using test::THeldKeys;

using test::PumpUntil;

RECT ChildRect(HWND wnd) {
  RECT r;
  GetWindowRect(wnd, &r);
  MapWindowPoints(nullptr, GetParent(wnd), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

class MdiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App = std::make_unique<TApplication>();
    App->Initialize();
    App->SetTitle(L"MDI test");
    Frame = App->CreateForm<TForm>();
    Frame->SetFormStyle(fsMDIForm);
    Frame->SetPosition(poDesktopCenter);
    Frame->SetClientSize(600, 400);
    Menu = Frame->Make<TMainMenu>();
    TMenuItem* file = Menu->Items()->Add(L"&File");
    Save = file->Add(L"&Save");
    Save->SetShortCut(ShortCut('S', scCtrl));
    Save->OnClick = [this](TComponent*) { ++Saves; };
    Window = Menu->Items()->Add(L"&Window");
    Window->Add(L"&Cascade")->OnClick = [this](TComponent*) { Frame->Cascade(); };
    Frame->SetMenu(Menu);
    Frame->SetWindowMenu(Window);
    Status = Frame->Make<TStatusBar>();
    Status->SetParent(Frame);
    Status->SetBounds(0, 380, 600, 20);
    Frame->Show();
    test::Pump();
  }
  TForm* NewChild(const wchar_t* caption) {
    auto* child = App->CreateForm<TForm>();
    child->SetFormStyle(fsMDIChild);
    child->SetCaption(caption);
    child->SetClientSize(200, 120);
    auto* edit = child->Make<TEdit>();
    edit->SetParent(child);
    edit->SetBounds(10, 10, 100, 20);
    child->Show();
    test::Pump();
    return child;
  }
  std::unique_ptr<TApplication> App;
  TForm* Frame = nullptr;
  TMainMenu* Menu = nullptr;
  TMenuItem* Save = nullptr;
  TMenuItem* Window = nullptr;
  TStatusBar* Status = nullptr;
  int Saves = 0;
};

TEST_F(MdiTest, ChildrenLiveInTheClientBesideTheBarsAndAreListedInTheWindowMenu) {
  HWND client = Frame->ClientHandle();
  ASSERT_TRUE(IsWindow(client));
  wchar_t name[32] = {};
  GetClassNameW(client, name, 32);
  EXPECT_EQ(_wcsicmp(name, L"MDIClient"), 0) << "the skin finds the client by this class";
  EXPECT_EQ(GetParent(client), Frame->Handle());
  RECT area = ChildRect(client);
  EXPECT_EQ(area.top, 0);
  EXPECT_EQ(area.right, 600);
  EXPECT_EQ(area.bottom, 380) << "the status bar keeps its place";

  test::TMessageRecorder clientNotes(client);
  TForm* a = NewChild(L"Doc A");
  TForm* b = NewChild(L"Doc B");
  EXPECT_EQ(clientNotes.Count(WM_MDICREATE), 2) << "children are made through the client";
  for (TForm* child : {a, b}) {
    EXPECT_EQ(GetParent(child->Handle()), client);
    EXPECT_TRUE(GetWindowLongPtrW(child->Handle(), GWL_EXSTYLE) & WS_EX_MDICHILD);
    EXPECT_EQ(TWinControl::FindControl(child->Handle()), child);
  }
  RECT inside;
  GetClientRect(a->Handle(), &inside);
  EXPECT_EQ(inside.right, 200);
  EXPECT_EQ(inside.bottom, 120);
  EXPECT_EQ(Frame->ActiveMDIChild(), b);
  ASSERT_EQ(Frame->MDIChildCount(), 2);
  EXPECT_EQ(Frame->MDIChildren(0), b) << "the active child first";
  EXPECT_EQ(Frame->MDIChildren(1), a);

  Frame->Next();
  EXPECT_EQ(Frame->ActiveMDIChild(), a);
  Frame->Previous();
  EXPECT_EQ(Frame->ActiveMDIChild(), b);

  // The window menu: our own item first, then the platform's list of the children.
  std::vector<std::wstring> entries;
  HMENU list = Window->Handle();
  for (int i = 0; i < GetMenuItemCount(list); ++i) {
    wchar_t text[64] = {};
    GetMenuStringW(list, static_cast<UINT>(i), text, 64, MF_BYPOSITION);
    entries.push_back(text);
  }
  ASSERT_GE(entries.size(), 3u);
  EXPECT_EQ(entries[0], L"&Cascade");
  auto listed = [&](const std::wstring& title) {
    for (const std::wstring& e : entries)
      if (e.find(title) != std::wstring::npos) return true;
    return false;
  };
  EXPECT_TRUE(listed(L"Doc A"));
  EXPECT_TRUE(listed(L"Doc B"));
  // Our item added later goes in with ours, before the platform's entries.
  Window->Add(L"&Tile");
  wchar_t text[64] = {};
  GetMenuStringW(list, 1, text, 64, MF_BYPOSITION);
  EXPECT_STREQ(text, L"&Tile");
}

TEST_F(MdiTest, AMaximisedChildPutsItsButtonsInOurBarAndCloseFreesIt) {
  TForm* a = NewChild(L"Doc A");
  TForm* b = NewChild(L"Doc B");
  HMENU bar = Menu->Handle();
  ASSERT_EQ(GetMenu(Frame->Handle()), bar);
  const int ours = GetMenuItemCount(bar);
  auto hasClose = [&] {
    for (int i = 0; i < GetMenuItemCount(bar); ++i)
      if (GetMenuItemID(bar, i) == SC_CLOSE) return true;
    return false;
  };

  b->SetWindowState(wsMaximized);
  test::Pump();
  EXPECT_TRUE(IsZoomed(b->Handle()));
  EXPECT_EQ(b->WindowState(), wsMaximized);
  EXPECT_GT(GetMenuItemCount(bar), ours);
  EXPECT_TRUE(hasClose()) << "the platform's close button in the bar";

  // Our changes to the bar leave the platform's entries where they are.
  Menu->Items()->Add(L"&Help");
  EXPECT_TRUE(hasClose());
  EXPECT_NE(GetSubMenu(bar, 0), Menu->Items()->Items(0)->Handle()) << "the child's window menu stays first";
  SendMessageW(Frame->Handle(), WM_COMMAND, MAKEWPARAM(Save->Command(), 0), 0);
  EXPECT_EQ(Saves, 1);

  b->SetWindowState(wsNormal);
  test::Pump();
  EXPECT_FALSE(IsZoomed(b->Handle()));
  EXPECT_EQ(GetMenuItemCount(bar), ours + 1);
  EXPECT_FALSE(hasClose());

  // Maximised again, the bar's close button closes the child, which is then freed.
  b->SetWindowState(wsMaximized);
  test::Pump();
  const int forms = App->FormCount();
  PostMessageW(Frame->Handle(), WM_COMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(PumpUntil([&] { return App->FormCount() == forms - 1; }));
  ASSERT_EQ(Frame->MDIChildCount(), 1);
  EXPECT_EQ(Frame->MDIChildren(0), a);
  EXPECT_EQ(Frame->ActiveMDIChild(), a);
}

TEST_F(MdiTest, CascadeAndTileMoveTheChildren) {
  std::vector<TForm*> children{NewChild(L"One"), NewChild(L"Two"), NewChild(L"Three")};
  for (TForm* child : children) MoveWindow(child->Handle(), 0, 0, 150, 100, TRUE);

  Frame->SetTileMode(tbVertical);
  Frame->Tile();
  std::vector<RECT> tiles;
  for (TForm* child : children) tiles.push_back(ChildRect(child->Handle()));
  for (std::size_t i = 0; i < tiles.size(); ++i) {
    EXPECT_GT(tiles[i].bottom - tiles[i].top, 300) << "side by side, each the client's height";
    for (std::size_t j = i + 1; j < tiles.size(); ++j) {
      RECT overlap;
      EXPECT_FALSE(IntersectRect(&overlap, &tiles[i], &tiles[j])) << i << " and " << j << " overlap";
    }
  }

  // The Window menu's Cascade item, as the menu would send it.
  SendMessageW(Frame->Handle(), WM_COMMAND, MAKEWPARAM(Window->Items(0)->Command(), 0), 0);
  std::vector<RECT> cascade;
  for (int i = Frame->MDIChildCount() - 1; i >= 0; --i) cascade.push_back(ChildRect(Frame->MDIChildren(i)->Handle()));
  for (std::size_t i = 1; i < cascade.size(); ++i) {
    EXPECT_GT(cascade[i].left, cascade[i - 1].left) << "each one down and right of the one behind";
    EXPECT_GT(cascade[i].top, cascade[i - 1].top);
  }
}

TEST_F(MdiTest, ChildrenFollowTheFramesScaleAsWindowsMadeThere) {
  TForm* child = NewChild(L"One");
  TForm* maximised = NewChild(L"Two");
  TEdit* edit = nullptr;
  for (int i = 0; i < child->ComponentCount() && !edit; ++i) edit = dynamic_cast<TEdit*>(child->Components(i));
  ASSERT_NE(edit, nullptr);
  MoveWindow(child->Handle(), 20, 10, 250, 160, TRUE);
  const RECT before = ChildRect(child->Handle());
  SendMessageW(maximised->Handle(), WM_SYSCOMMAND, SC_MAXIMIZE, 0);
  test::Pump();

  test::SendScaleChange(Frame->Handle(), 96, 192);
  test::Pump();
  for (TForm* form : {child, maximised}) EXPECT_EQ(form->Dpi(), 192) << form->Caption();
  EXPECT_EQ(edit->Left(), 20) << "the child's controls at the new scale";
  EXPECT_EQ(edit->Width(), 200);
  const RECT after = ChildRect(child->Handle());
  EXPECT_NEAR(after.left, 2 * before.left, 1);
  EXPECT_NEAR(after.top, 2 * before.top, 1);
  EXPECT_NEAR(after.right - after.left, 2 * (before.right - before.left), 1);
  EXPECT_NEAR(after.bottom - after.top, 2 * (before.bottom - before.top), 1);
  EXPECT_TRUE(IsZoomed(maximised->Handle())) << "a maximised child stays maximised";
}

TEST_F(MdiTest, KeysInAChildReachTheFrameMenuAndTheChildList) {
  TForm* a = NewChild(L"Doc A");
  TForm* b = NewChild(L"Doc B");
  HWND edit = GetWindow(b->Handle(), GW_CHILD);
  ASSERT_TRUE(edit);
  SetFocus(edit);
  auto press = [&](std::initializer_list<BYTE> held, WPARAM key) {
    THeldKeys keys(held);
    PostMessageW(GetFocus(), WM_KEYDOWN, key, 1);
    test::Pump();
  };

  press({VK_CONTROL}, 'S');
  EXPECT_EQ(Saves, 1) << "the frame's shortcut works from a child";

  press({VK_CONTROL}, VK_F6);
  EXPECT_EQ(Frame->ActiveMDIChild(), a);

  // Ctrl+F4 closes the active child; it may say no.
  bool keep = true;
  a->OnClose = [&](TComponent*, TCloseAction& action) {
    if (keep) action = caNone;
  };
  press({VK_CONTROL}, VK_F4);
  EXPECT_EQ(Frame->MDIChildCount(), 2);
  keep = false;
  const int forms = App->FormCount();
  press({VK_CONTROL}, VK_F4);
  ASSERT_TRUE(PumpUntil([&] { return App->FormCount() == forms - 1; }));
  EXPECT_EQ(Frame->MDIChildCount(), 1);
  EXPECT_EQ(Frame->ActiveMDIChild(), b);
}

TEST(MdiChild, CannotBeMadeWithoutAFrameForm) {
  TApplication app;
  app.Initialize();
  auto* child = app.CreateForm<TForm>();
  child->SetFormStyle(fsMDIChild);
  EXPECT_THROW(child->HandleNeeded(), EWindowError);
  EXPECT_FALSE(child->HandleAllocated());
}

}  // namespace
}  // namespace kv
