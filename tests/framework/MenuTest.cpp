// Menus under Wine: commands from the platform's menu loop reach the right item at any
// depth, keys (access keys, F10, shortcuts) travel through our message loop, owner-drawn
// items are measured and drawn in their state, the platform entries follow the items,
// CM_MENUCHANGED tells the form, popup menus are tracked and shown on a right click.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "TestUtil.h"
#include "framework/Forms.h"
#include "framework/ImgList.h"
#include "framework/Menus.h"
#include "framework/StdCtrls.h"
#include "support/HandleCount.h"
#include "support/MessageRecorder.h"
#include "support/ScaledLayout.h"

namespace kv {
namespace {

using test::THeldKeys;

using test::PumpUntil;
using test::TMessageRecorder;

// The visible popup-menu windows ("#32768") of this thread, the newest first.
std::vector<HWND> MenuWindows() {
  std::vector<HWND> found;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND wnd, LPARAM data) -> BOOL {
        wchar_t name[16] = {};
        GetClassNameW(wnd, name, 16);
        if (std::wstring_view(name) == L"#32768" && IsWindowVisible(wnd))
          reinterpret_cast<std::vector<HWND>*>(data)->push_back(wnd);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

bool InMenuMode() {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  return GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE);
}

// A key as the menu loop gets it (the loop takes keys aimed at any window of the thread).
void PostToMenu(UINT msg, WPARAM key) {
  const std::vector<HWND> menus = MenuWindows();
  PostMessageW(menus.empty() ? GetActiveWindow() : menus.front(), msg, key, 1);
}

// Plays steps into the platform's modal menu loop from a thread timer, which the loop
// dispatches: each step waits for its condition, then acts. Past the deadline it ends
// whatever menu is open, so a failing test does not hang.
class TMenuScript {
 public:
  struct TStep {
    std::function<bool()> Ready;
    std::function<void()> Act;
  };
  explicit TMenuScript(std::vector<TStep> steps, int ms = 5000)
      : FSteps(std::move(steps)), FDeadline(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms)) {
    GCurrent = this;
    FTimer = SetTimer(nullptr, 0, 15, &Tick);
  }
  TMenuScript(const TMenuScript&) = delete;
  TMenuScript& operator=(const TMenuScript&) = delete;
  ~TMenuScript() {
    KillTimer(nullptr, FTimer);
    GCurrent = nullptr;
  }
  bool Done() const { return FNext == FSteps.size(); }

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TMenuScript* script = GCurrent;
    if (!script) return;
    if (std::chrono::steady_clock::now() > script->FDeadline) {
      EndMenu();
      return;
    }
    if (script->Done() || !script->FSteps[script->FNext].Ready()) return;
    script->FSteps[script->FNext++].Act();
  }
  static inline TMenuScript* GCurrent = nullptr;
  std::vector<TStep> FSteps;
  std::size_t FNext = 0;
  std::chrono::steady_clock::time_point FDeadline;
  UINT_PTR FTimer = 0;
};

bool MenuShown() { return !MenuWindows().empty(); }
bool MenusShown(std::size_t count) { return MenuWindows().size() >= count; }
auto Key(WPARAM key) {
  return [key] { PostToMenu(WM_KEYDOWN, key); };
}
auto Char(wchar_t c) {
  return [c] { PostToMenu(WM_CHAR, c); };
}

std::wstring EntryText(HMENU menu, int position) {
  wchar_t text[128] = {};
  GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
  return text;
}

MENUITEMINFOW Entry(HMENU menu, int position) {
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_BITMAP;
  GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
  return info;
}

class MenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App = std::make_unique<TApplication>();
    App->Initialize();
    App->SetTitle(L"Menu test");
    Form = App->CreateForm<TForm>();
    Form->SetPosition(poDesktopCenter);
    Form->SetClientSize(300, 200);
    // Keep the cursor away from where menus open: a move under it would select items.
    SetCursorPos(1020, 760);
  }
  void ShowForm() {
    Form->Show();
    Form->Update();
    test::Pump();
  }
  // File (Open, Save Ctrl+S, Recent > Projects > Deep, -, Exit), Edit (Undo).
  void BuildMenu(bool ownerDraw = false) {
    Menu = Form->Make<TMainMenu>();
    Menu->SetOwnerDraw(ownerDraw);
    TMenuItem* root = Menu->Items();
    File = root->Add(L"&File");
    Open = File->Add(L"&Open");
    Save = File->Add(L"&Save");
    Save->SetShortCut(ShortCut('S', scCtrl));
    Recent = File->Add(L"&Recent");
    Projects = Recent->Add(L"&Projects");
    Deep = Projects->Add(L"&Deep");
    File->Add(L"-");
    Exit = File->Add(L"E&xit");
    Edit = root->Add(L"&Edit");
    Undo = Edit->Add(L"&Undo");
    for (TMenuItem* item : {Open, Save, Deep, Exit, Undo}) {
      item->OnClick = [this](TComponent* sender) {
        Clicked.push_back(StripAccessMarks(static_cast<TMenuItem*>(sender)->Caption()));
      };
    }
    Form->SetMenu(Menu);
  }
  std::unique_ptr<TApplication> App;
  TForm* Form = nullptr;
  TMainMenu* Menu = nullptr;
  TMenuItem *File = nullptr, *Open = nullptr, *Save = nullptr, *Recent = nullptr, *Projects = nullptr, *Deep = nullptr,
            *Exit = nullptr, *Edit = nullptr, *Undo = nullptr;
  std::vector<std::wstring> Clicked;
};

TEST_F(MenuTest, CommandsClickTheirOwnItemAtEveryDepth) {
  BuildMenu();
  auto* button = Form->Make<TButton>();
  button->SetParent(Form);
  button->SetBounds(10, 10, 80, 25);
  ShowForm();
  HWND wnd = Form->Handle();

  // Identifiers are unique, and they are the platform entries' identifiers.
  std::map<UINT, TMenuItem*> seen;
  for (TMenuItem* item : {File, Open, Save, Recent, Projects, Deep, Exit, Edit, Undo})
    EXPECT_TRUE(seen.emplace(item->Command(), item).second) << "two items share command " << item->Command();
  EXPECT_EQ(GetMenuItemID(Projects->Handle(), 0), Deep->Command());
  EXPECT_EQ(GetSubMenu(GetSubMenu(File->Handle(), 2), 0), Projects->Handle());
  EXPECT_EQ(Menu->FindItem(Deep->Command(), fkCommand), Deep);
  EXPECT_EQ(Menu->FindItem(reinterpret_cast<UINT_PTR>(Projects->Handle()), fkHandle), Projects);

  for (TMenuItem* item : {Deep, Undo, Open, Deep}) SendMessageW(wnd, WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
  EXPECT_EQ(Clicked, (std::vector<std::wstring>{L"Deep", L"Undo", L"Open", L"Deep"}));

  // A control's notification with the same number is the control's, not a menu command.
  Clicked.clear();
  SendMessageW(wnd, WM_COMMAND, MAKEWPARAM(Open->Command(), BN_CLICKED), reinterpret_cast<LPARAM>(button->Handle()));
  EXPECT_TRUE(Clicked.empty());

  // A disabled item, or one under a disabled item, runs nothing, whoever sends its command.
  Clicked.clear();
  Undo->SetEnabled(false);
  Recent->SetEnabled(false);
  for (TMenuItem* item : {Undo, Deep}) SendMessageW(wnd, WM_COMMAND, MAKEWPARAM(item->Command(), 0), 0);
  EXPECT_TRUE(Clicked.empty());
  Undo->SetEnabled(true);
  Recent->SetEnabled(true);

  // A freed item's command reaches nobody.
  const UINT gone = Deep->Command();
  Projects->Delete(0);
  SendMessageW(wnd, WM_COMMAND, MAKEWPARAM(gone, 0), 0);
  EXPECT_TRUE(Clicked.empty());
  EXPECT_EQ(FindMenuItem(gone), nullptr);
}

TEST_F(MenuTest, AltF10AndAccessKeysWalkTheBarIntoAThirdLevelSubmenu) {
  BuildMenu();
  ShowForm();
  auto* edit = Form->Make<TEdit>();
  edit->SetParent(Form);
  edit->SetBounds(10, 10, 100, 20);
  edit->SetFocus();
  {
    // Alt+F from the edit opens File through the platform's loop; R, P, D go down to Deep.
    TMenuScript script(
        {{MenuShown, Char('r')}, {[] { return MenusShown(2); }, Char('p')}, {[] { return MenusShown(3); }, Char('d')}});
    PostMessageW(edit->Handle(), WM_SYSCHAR, 'f', 1 << 29);
    ASSERT_TRUE(PumpUntil([&] { return !Clicked.empty(); })) << "steps done: " << script.Done();
    EXPECT_EQ(Clicked, std::vector<std::wstring>{L"Deep"});
    EXPECT_FALSE(InMenuMode());
  }

  // F10 alone enters the bar; Down opens File with its first item selected, Enter runs it.
  TMenuScript f10({{InMenuMode, Key(VK_DOWN)}, {MenuShown, Key(VK_RETURN)}});
  PostMessageW(edit->Handle(), WM_SYSKEYDOWN, VK_F10, 1);
  PostMessageW(edit->Handle(), WM_SYSKEYUP, VK_F10, 0xC0000001);
  ASSERT_TRUE(PumpUntil([&] { return Clicked.size() == 2; }));
  EXPECT_EQ(Clicked.back(), L"Open");
}

TEST_F(MenuTest, OwnerDrawnItemsAnswerTheirAccessKeysThemselves) {
  BuildMenu(true);
  int fileOpened = 0;
  File->OnClick = [&](TComponent*) { ++fileOpened; };  // clicked as its submenu opens
  Open->OnUpdate = [](TComponent* sender) { static_cast<TMenuItem*>(sender)->SetEnabled(false); };
  ShowForm();
  ASSERT_EQ(EntryText(Menu->Handle(), 0), L"&File") << "owner-drawn entries keep their text";

  // 'o' is the access key of Open, disabled by its update as the menu opened: nothing
  // happens; 's' runs Save.
  TMenuScript script({{MenuShown, Char('o')}, {MenuShown, Char('s')}});
  PostMessageW(Form->Handle(), WM_SYSCHAR, 'f', 1 << 29);
  ASSERT_TRUE(PumpUntil([&] { return !Clicked.empty(); }));
  EXPECT_EQ(Clicked, std::vector<std::wstring>{L"Save"});
  EXPECT_EQ(fileOpened, 1);
  EXPECT_TRUE(Entry(File->Handle(), 0).fState & MFS_GRAYED);
  EXPECT_EQ(EntryText(File->Handle(), 0), L"Open") << "a disabled item's key is not the platform's to find";
}

TEST_F(MenuTest, ShortcutsFireThroughTheMessageLoopBeforeTheControlSeesThem) {
  BuildMenu();
  Undo->SetShortCut(ShortCut('Z', scCtrl | scShift));
  Exit->SetShortCut(ShortCut(VK_F4, scAlt));
  auto* edit = Form->Make<TEdit>();
  edit->SetParent(Form);
  edit->SetBounds(10, 10, 100, 20);
  ShowForm();
  edit->SetFocus();
  TMessageRecorder editKeys(*edit);
  auto press = [&](std::initializer_list<BYTE> held, UINT msg, WPARAM key) {
    THeldKeys keys(held);
    PostMessageW(edit->Handle(), msg, key, msg == WM_SYSKEYDOWN ? (1 << 29) | 1 : 1);
    test::Pump();
  };

  press({VK_CONTROL}, WM_KEYDOWN, 'S');
  EXPECT_EQ(Clicked, std::vector<std::wstring>{L"Save"});
  EXPECT_FALSE(editKeys.Saw(WM_KEYDOWN)) << "a shortcut is not also typed into the edit";

  press({VK_CONTROL}, WM_KEYDOWN, 'Z');  // without Shift it is not Undo's
  press({VK_CONTROL, VK_SHIFT}, WM_KEYDOWN, 'Z');
  press({VK_MENU}, WM_SYSKEYDOWN, VK_F4);
  EXPECT_EQ(Clicked, (std::vector<std::wstring>{L"Save", L"Undo", L"Exit"}));
  EXPECT_EQ(editKeys.Count(WM_KEYDOWN), 1);

  // A disabled item's shortcut, or one whose parent is disabled, is an ordinary key.
  Save->SetEnabled(false);
  Edit->SetEnabled(false);
  press({VK_CONTROL}, WM_KEYDOWN, 'S');
  press({VK_CONTROL, VK_SHIFT}, WM_KEYDOWN, 'Z');
  EXPECT_EQ(Clicked.size(), 3u);
  // The update before the shortcut is taken may enable the item again.
  Save->OnUpdate = [](TComponent* sender) { static_cast<TMenuItem*>(sender)->SetEnabled(true); };
  press({VK_CONTROL}, WM_KEYDOWN, 'S');
  EXPECT_EQ(Clicked.back(), L"Save");
}

TEST_F(MenuTest, PlatformEntriesFollowTheItems) {
  auto* menu = Form->Make<TPopupMenu>();
  TMenuItem* root = menu->Items();
  TMenuItem* save = root->Add(L"&Save");
  save->SetShortCut(ShortCut('S', scCtrl));
  root->Add(L"-");
  TMenuItem* left = root->Add(L"Left");
  TMenuItem* right = root->Add(L"Right");
  TMenuItem* hidden = root->Add(L"Hidden");
  for (TMenuItem* item : {left, right}) {
    item->SetRadioItem(true);
    item->SetGroupIndex(1);
  }
  HMENU h = menu->Handle();
  ASSERT_EQ(GetMenuItemCount(h), 5);
  EXPECT_EQ(EntryText(h, 0), L"&Save\tCtrl+S");
  EXPECT_TRUE(Entry(h, 1).fType & MFT_SEPARATOR);
  EXPECT_TRUE(Entry(h, 2).fType & MFT_RADIOCHECK);

  left->SetChecked(true);
  right->SetChecked(true);  // unchecks its group
  EXPECT_FALSE(left->Checked());
  EXPECT_FALSE(Entry(h, 2).fState & MFS_CHECKED);
  EXPECT_TRUE(Entry(h, 3).fState & MFS_CHECKED);
  save->SetEnabled(false);
  save->SetDefault(true);
  EXPECT_EQ(Entry(h, 0).fState & (MFS_GRAYED | MFS_DEFAULT), UINT(MFS_GRAYED | MFS_DEFAULT));
  save->SetCaption(L"Save &as");
  EXPECT_EQ(EntryText(h, 0), L"Save &as\tCtrl+S");

  // Hidden items have no entry; showing one puts it back in its place.
  hidden->SetVisible(false);
  left->SetVisible(false);
  ASSERT_EQ(GetMenuItemCount(h), 3);
  EXPECT_EQ(EntryText(h, 2), L"Right");
  left->SetVisible(true);
  EXPECT_EQ(EntryText(h, 2), L"Left");
  root->Insert(1, L"Inserted");
  EXPECT_EQ(EntryText(h, 1), L"Inserted");
  EXPECT_EQ(GetMenuItemCount(h), 5);

  // Sub-items make a submenu, the last one gone takes it away again.
  TMenuItem* sub = left->Add(L"Sub");
  HMENU subMenu = left->Handle();
  ASSERT_NE(subMenu, nullptr);
  EXPECT_EQ(GetSubMenu(h, 3), subMenu);
  left->Delete(left->IndexOf(sub));
  EXPECT_EQ(left->Handle(), nullptr);
  EXPECT_EQ(GetSubMenu(h, 3), nullptr);
  EXPECT_FALSE(IsMenu(subMenu));

  // Images from the list (drawn by us in a text menu), right-to-left order.
  TImageList images;
  TBitmap red(16, 16);
  menu->SetImages(&images);
  images.Add(red, clNone);
  right->SetImageIndex(0);
  EXPECT_EQ(Entry(h, 4).hbmpItem, HBMMENU_CALLBACK);
  menu->SetImages(nullptr);
  menu->SetBiDiMode(bdRightToLeft);
  EXPECT_TRUE(right->IsRightToLeft());
  EXPECT_TRUE(Entry(h, 4).fType & MFT_RIGHTORDER);
  EXPECT_EQ(Entry(h, 4).hbmpItem, nullptr);
}

TEST(ShortCutText, NamesKeysWithTheirModifiersBothWays) {
  EXPECT_EQ(ShortCutToText(ShortCut('S', scCtrl)), L"Ctrl+S");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F4, scShift)), L"Shift+F4");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, scShift | scCtrl | scAlt)), L"Shift+Ctrl+Alt+Del");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F10, scNone)), L"F10");
  EXPECT_EQ(ShortCutToText(scCtrl), L"");
  for (TShortCut s : {ShortCut('S', scCtrl), ShortCut(VK_F12, scAlt | scShift), ShortCut(VK_RETURN, scCtrl),
                      ShortCut('7', scNone), ShortCut(VK_PRIOR, scCtrl)})
    EXPECT_EQ(TextToShortCut(ShortCutToText(s)), s) << s;
  EXPECT_EQ(TextToShortCut(L"ctrl+s"), ShortCut('S', scCtrl));
  EXPECT_EQ(TextToShortCut(L"Hyper+S"), scNone);
  EXPECT_EQ(AccessKey(L"Save &as"), L'a');
  EXPECT_EQ(AccessKey(L"Fish && &Chips"), L'C');
  EXPECT_EQ(AccessKey(L"A && B"), 0);
  EXPECT_EQ(StripAccessMarks(L"Fish && &Chips"), L"Fish & Chips");
}

TEST_F(MenuTest, TheFormHearsOfEveryChangeOfItsMenu) {
  BuildMenu();
  ShowForm();
  TMessageRecorder formNotes(*Form);
  Deep->SetCaption(L"Deeper");
  Deep->SetChecked(true);
  Recent->Add(L"New");
  Projects->Delete(0);
  EXPECT_EQ(formNotes.Count(CM_MENUCHANGED), 4);

  // A menu the form does not show is none of its business.
  auto* other = Form->Make<TMainMenu>();
  other->Items()->Add(L"Other");
  EXPECT_EQ(formNotes.Count(CM_MENUCHANGED), 4);
  Form->SetMenu(other);
  EXPECT_EQ(formNotes.Count(CM_MENUCHANGED), 5);
  EXPECT_EQ(GetMenu(Form->Handle()), other->Handle());
  File->SetCaption(L"Old");  // the menu the form gave up
  EXPECT_EQ(formNotes.Count(CM_MENUCHANGED), 5);

  // Freed, the menu leaves the form without a bar (and says so).
  Form->DestroyComponent(other);
  EXPECT_EQ(Form->Menu(), nullptr);
  EXPECT_EQ(GetMenu(Form->Handle()), nullptr);
  EXPECT_EQ(formNotes.Count(CM_MENUCHANGED), 6);
}

TEST_F(MenuTest, OwnerDrawnPopupMeasuresAndDrawsEachItemInItsState) {
  auto* menu = Form->Make<TPopupMenu>();
  menu->SetOwnerDraw(true);
  TMenuItem* plain = menu->Items()->Add(L"Plain");
  TMenuItem* checked = menu->Items()->Add(L"Checked");
  TMenuItem* disabled = menu->Items()->Add(L"Disabled");
  TMenuItem* green = menu->Items()->Add(L"Green");
  checked->SetChecked(true);
  disabled->SetEnabled(false);
  green->SetDefault(true);
  std::map<TMenuItem*, std::vector<TOwnerDrawState>> drawn;
  std::map<TMenuItem*, SIZE> measured;
  menu->OnMeasureItem = [&](TMenuItem* item, TCanvas&, int& width, int& height) {
    measured[item] = SIZE{width, height};  // the defaults, before any change
    if (item == green) height = 30;
  };
  menu->OnAdvancedDrawItem = [&](TMenuItem* item, TCanvas& canvas, const RECT& rect, TOwnerDrawState state) {
    drawn[item].push_back(state);
    canvas.Brush().SetColor(item == green ? 0x00FF00 : 0xFFFFFF);
    canvas.FillRect(rect);
  };
  auto selectedDrawn = [&](TMenuItem* item) {
    for (TOwnerDrawState s : drawn[item])
      if (s & odSelected) return true;
    return false;
  };
  ShowForm();
  RECT greenRect{};
  std::uint32_t greenPixel = 0;
  TMenuScript script({{MenuShown, Key(VK_DOWN)},
                      {[&] { return selectedDrawn(plain); }, Key(VK_DOWN)},
                      {[&] { return selectedDrawn(checked); },
                       [&] {
                         HWND popup = MenuWindows().front();
                         GetMenuItemRect(nullptr, menu->Handle(), 3, &greenRect);
                         POINT p{(greenRect.left + greenRect.right) / 2, (greenRect.top + greenRect.bottom) / 2};
                         ScreenToClient(popup, &p);
                         greenPixel = test::ScreenPixel(popup, p.x, p.y);
                         PostToMenu(WM_KEYDOWN, VK_ESCAPE);
                       }}});
  POINT at{20, 20};
  ClientToScreen(Form->Handle(), &at);
  menu->Popup(at.x, at.y);
  ASSERT_TRUE(script.Done());
  EXPECT_TRUE(Clicked.empty());

  for (TMenuItem* item : {plain, checked, disabled, green}) {
    ASSERT_TRUE(measured.count(item)) << "not measured";
    EXPECT_GT(measured[item].cx, 0);
    EXPECT_GE(measured[item].cy, 16) << "room for the glyph column";
    ASSERT_FALSE(drawn[item].empty()) << "not drawn";
  }
  EXPECT_GT(measured[checked].cx, measured[plain].cx) << "the default width follows the caption";
  EXPECT_TRUE(drawn[checked].front() & odChecked);
  EXPECT_EQ(drawn[disabled].front() & (odGrayed | odDisabled), unsigned(odGrayed | odDisabled));
  EXPECT_TRUE(drawn[green].front() & odDefault);
  EXPECT_FALSE(drawn[plain].front() & odSelected) << "nothing is selected when the menu opens";
  EXPECT_FALSE(drawn[disabled].front() & odSelected);
  EXPECT_EQ(greenRect.bottom - greenRect.top, 30) << "the measured height holds";
  EXPECT_EQ(greenPixel, 0x00FF00u) << "what the event drew is on the screen";
}

TEST_F(MenuTest, OwnerDrawnItemsAreMeasuredInTheFontAndSizesOfTheirFormsScale) {
  auto* menu = Form->Make<TPopupMenu>();
  menu->SetOwnerDraw(true);
  TMenuItem* item = menu->Items()->Add(L"Scaled");
  TMenuItem* line = menu->Items()->Add(L"-");
  ShowForm();
  struct TMeasured {
    int Width, Height, TextHeight;
  };
  // What the form answers for the item, and the height of a text in the font it measures in.
  auto measure = [&](TMenuItem* target) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    GetMenuItemInfoW(menu->Handle(), target->Command(), FALSE, &info);
    MEASUREITEMSTRUCT m{ODT_MENU, 0, target->Command(), 0, 0, info.dwItemData};
    TMeasured seen{};
    menu->OnMeasureItem = [&](TMenuItem*, TCanvas& canvas, int&, int&) {
      seen.TextHeight = canvas.TextExtent(L"Scaled").cy;
    };
    SendMessageW(Form->Handle(), WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&m));
    seen.Width = static_cast<int>(m.itemWidth);
    seen.Height = static_cast<int>(m.itemHeight);
    return seen;
  };
  // The pixels of the plain look's check mark: the glyph column of a checked item.
  auto checkInk = [&] {
    const int w = test::Scale(160, item->Dpi()), h = test::Scale(22, item->Dpi());
    TBitmap b(w, h);
    item->SetChecked(true);
    item->DrawDefault(b.Canvas(), RECT{0, 0, w, h}, odChecked);
    item->SetChecked(false);
    GdiFlush();
    const std::uint32_t ground = b.ScanLine(0)[w - 1] & 0xFFFFFF;
    int ink = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < test::Scale(18, item->Dpi()); ++x) ink += (b.ScanLine(y)[x] & 0xFFFFFF) != ground;
    return ink;
  };
  const TMeasured at96 = measure(item);
  const int check96 = checkInk();
  ASSERT_GT(at96.TextHeight, 0);
  ASSERT_GT(check96, 0);
  EXPECT_EQ(measure(line).Height, 8);
  test::SendScaleChange(Form->Handle(), 96, 192);
  test::Pump();
  const TMeasured at192 = measure(item);
  EXPECT_NEAR(at192.TextHeight, 2 * at96.TextHeight, 2) << "the menu font at the form's scale";
  EXPECT_NEAR(at192.Height, 2 * at96.Height, 3);
  EXPECT_NEAR(at192.Width, 2 * at96.Width, 8);
  EXPECT_EQ(measure(line).Height, 16);
  EXPECT_GE(checkInk(), 3 * check96) << "the check mark twice as high and wide";
}

TEST_F(MenuTest, APopupMenuDeliversTheChosenCommandAfterTracking) {
  auto* menu = Form->Make<TPopupMenu>();
  int popups = 0;
  menu->OnPopup = [&](TComponent*) { ++popups; };
  std::vector<std::wstring> clicked;
  for (const wchar_t* caption : {L"One", L"Two", L"Three"})
    menu->Items()->Add(caption)->OnClick = [&clicked](TComponent* sender) {
      clicked.push_back(static_cast<TMenuItem*>(sender)->Caption());
    };
  ShowForm();
  POINT at{30, 30};
  ClientToScreen(Form->Handle(), &at);
  {
    TMenuScript script({{MenuShown, Key(VK_DOWN)}, {MenuShown, Key(VK_DOWN)}, {MenuShown, Key(VK_RETURN)}});
    menu->Popup(at.x, at.y);
    EXPECT_TRUE(script.Done());
  }
  EXPECT_TRUE(clicked.empty()) << "the command is posted, not sent";
  ASSERT_TRUE(PumpUntil([&] { return !clicked.empty(); }));
  EXPECT_EQ(clicked, std::vector<std::wstring>{L"Two"});
  {
    TMenuScript script({{MenuShown, Key(VK_DOWN)}, {MenuShown, Key(VK_ESCAPE)}});
    menu->Popup(at.x, at.y);
  }
  test::Pump();
  EXPECT_EQ(clicked.size(), 1u) << "Escape chooses nothing";
  EXPECT_EQ(popups, 2);
  EXPECT_FALSE(MenuShown());
}

TEST_F(MenuTest, ARightClickShowsTheMenuOfTheControlUnderTheMouse) {
  auto makeMenu = [&](const wchar_t* caption) {
    auto* menu = Form->Make<TPopupMenu>();
    menu->Items()->Add(caption)->OnClick = [this](TComponent* sender) {
      Clicked.push_back(static_cast<TMenuItem*>(sender)->Caption());
    };
    return menu;
  };
  auto* edit = Form->Make<TEdit>();
  edit->SetParent(Form);
  edit->SetBounds(10, 10, 100, 20);
  edit->SetPopupMenu(makeMenu(L"Edit menu"));
  auto* label = Form->Make<TLabel>();
  label->SetParent(Form);
  label->SetBounds(10, 50, 100, 16);
  label->SetCaption(L"Label");
  label->SetPopupMenu(makeMenu(L"Label menu"));
  auto* panel = Form->Make<TPanel>();
  panel->SetParent(Form);
  panel->SetBounds(10, 100, 150, 60);
  auto* inner = Form->Make<TButton>();  // no menu of its own: the form's
  inner->SetParent(panel);
  inner->SetBounds(5, 5, 100, 25);
  Form->SetPopupMenu(makeMenu(L"Form menu"));
  ShowForm();

  auto rightClick = [&](HWND wnd, int x, int y) {
    TMenuScript script({{MenuShown, Key(VK_DOWN)}, {MenuShown, Key(VK_RETURN)}});
    const std::size_t before = Clicked.size();
    PostMessageW(wnd, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(x, y));
    PostMessageW(wnd, WM_RBUTTONUP, 0, MAKELPARAM(x, y));
    return PumpUntil([&] { return Clicked.size() > before; }) ? Clicked.back() : std::wstring(L"(none)");
  };
  EXPECT_EQ(rightClick(edit->Handle(), 5, 5), L"Edit menu");
  EXPECT_EQ(edit->PopupMenu()->PopupComponent(), edit);
  EXPECT_EQ(rightClick(Form->Handle(), 20, 55), L"Label menu");
  EXPECT_EQ(label->PopupMenu()->PopupComponent(), label);
  EXPECT_EQ(rightClick(inner->Handle(), 5, 5), L"Form menu");
  EXPECT_EQ(rightClick(Form->Handle(), 250, 20), L"Form menu");
}

// The default look, drawn into a bitmap: background by selection, check mark or image in
// the glyph column (on the right in a right-to-left menu), the shortcut at the right.
TEST_F(MenuTest, TheDefaultLookDrawsCheckImageAndShortcut) {
  auto* menu = Form->Make<TPopupMenu>();
  TImageList images;
  TBitmap red(16, 16);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) red.ScanLine(y)[x] = 0xFF0000;
  images.Add(red, clNone);
  menu->SetImages(&images);
  TMenuItem* item = menu->Items()->Add(L"A");
  const int w = 160, h = 22;
  auto rgb = [](int index) {
    const COLORREF c = GetSysColor(index);
    return std::uint32_t(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c));
  };
  // Pixels that are not the background, in columns [from, to).
  auto inked = [&](TBitmap& b, int from, int to) {
    int count = 0;
    const std::uint32_t back = b.ScanLine(0)[w - 1];
    for (int y = 0; y < h; ++y)
      for (int x = from; x < to; ++x) count += (b.ScanLine(y)[x] & 0xFFFFFF) != back;
    return count;
  };
  auto draw = [&](TOwnerDrawState state) {
    auto b = std::make_unique<TBitmap>(w, h);
    AssignMenuFont(b->Canvas().Font());
    item->DrawDefault(b->Canvas(), RECT{0, 0, w, h}, state);
    GdiFlush();
    return b;
  };

  auto normal = draw(0);
  EXPECT_EQ(normal->ScanLine(0)[w - 1] & 0xFFFFFF, rgb(COLOR_MENU));
  EXPECT_EQ(inked(*normal, 0, 18), 0) << "an empty glyph column";
  EXPECT_GT(inked(*normal, 18, 60), 0) << "the caption";
  EXPECT_EQ(draw(odSelected)->ScanLine(0)[w - 1] & 0xFFFFFF, rgb(COLOR_HIGHLIGHT));

  item->SetChecked(true);
  auto checkedLook = draw(odChecked);
  EXPECT_GT(inked(*checkedLook, 1, 17), 0) << "the check mark";
  item->SetImageIndex(0);
  EXPECT_EQ(draw(0)->ScanLine(h / 2)[9] & 0xFFFFFF, 0xFF0000u) << "the image in the glyph column";
  item->SetImageIndex(-1);

  EXPECT_EQ(inked(*normal, 100, w), 0);
  item->SetShortCut(ShortCut('S', scCtrl));
  EXPECT_GT(inked(*draw(0), 100, w), 0) << "the shortcut at the right";

  menu->SetBiDiMode(bdRightToLeft);
  auto mirrored = draw(odChecked);
  EXPECT_EQ(inked(*mirrored, 0, 10), 0) << "nothing in the left margin";
  EXPECT_GT(inked(*mirrored, w - 17, w - 1), 0) << "the check mark on the right";

  // A separator is a line, whatever its state.
  TMenuItem* line = menu->Items()->Add(L"-");
  TBitmap b(w, 8);
  line->DrawDefault(b.Canvas(), RECT{0, 0, w, 8}, odSelected);
  GdiFlush();
  EXPECT_EQ(b.ScanLine(0)[10] & 0xFFFFFF, rgb(COLOR_MENU));
  EXPECT_NE(b.ScanLine(3)[10] & 0xFFFFFF, rgb(COLOR_MENU));
}

TEST_F(MenuTest, MenusGiveBackEveryHandle) {
  ShowForm();
  const long before = LiveHandleCount(THandleKind::hkUser);
  HMENU bar = nullptr, sub = nullptr;
  {
    BuildMenu(true);
    bar = Menu->Handle();
    sub = Projects->Handle();
    EXPECT_GT(LiveHandleCount(THandleKind::hkUser), before);
    // The window drops the bar before it goes: its menu component still owns it.
    Form->DestroyHandle();
    EXPECT_TRUE(IsMenu(bar));
    Form->Show();
    EXPECT_EQ(GetMenu(Form->Handle()), bar);
    File->Delete(File->IndexOf(Recent));
    EXPECT_FALSE(IsMenu(sub)) << "a deleted item's submenu goes with it";
    EXPECT_TRUE(IsMenu(File->Handle()));
    Form->DestroyComponent(Menu);
  }
  EXPECT_FALSE(IsMenu(bar));
  EXPECT_EQ(LiveHandleCount(THandleKind::hkUser), before);

  auto* popup = Form->Make<TPopupMenu>();
  for (int i = 0; i < 20; ++i) popup->Items()->Add(L"Item")->Add(L"Sub")->Add(L"Sub sub");
  HMENU popupHandle = popup->Handle();
  EXPECT_EQ(LiveHandleCount(THandleKind::hkUser), before + 41);
  Form->DestroyComponent(popup);
  EXPECT_FALSE(IsMenu(popupHandle));
  EXPECT_EQ(LiveHandleCount(THandleKind::hkUser), before);
}

}  // namespace
}  // namespace kv
