// The skin manager: its window hook, which windows it skins and which component governs
// them, its actions, and what it leaves behind at the end.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "SkinFormFixture.h"
#include "base/win/Handles.h"

namespace kv::test {
namespace {

// A raw top-level window of its own class, for the conditions on foreign windows; not
// shown, so that the hook leaves it alone.
class TRawWindow {
 public:
  TRawWindow(const wchar_t* className, int width, int height, DWORD style = WS_POPUP | WS_CAPTION,
             WNDPROC proc = DefWindowProcW) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = className;
    RegisterClassW(&wc);
    FWindow.Reset(CreateWindowExW(0, className, L"raw", style, 100, 100, width, height, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr));
  }
  HWND Get() const { return FWindow.Get(); }

 private:
  TWindowHandle FWindow;
};

LRESULT CALLBACK AnswersSkinned(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  return msg == SM_ISSKINNED ? 1 : DefWindowProcW(window, msg, wParam, lParam);
}

class SkinManageTest : public TSkinFormTest {};

TEST_F(SkinManageTest, TheHookIsInstalledOnceAndGoesAtTheEnd) {
  AddSkinData();
  ASSERT_TRUE(Manager().HookInstalled());
  const long users = LiveHandleCount(THandleKind::hkUser);
  Manager().InstallHook();
  AddSkinData();  // a second main-form component asks again
  EXPECT_EQ(LiveHandleCount(THandleKind::hkUser), users) << "no second hook";

  TForm* form = MakeForm();
  ASSERT_NE(ShowSkinned(form), nullptr) << "activation skins the form";
  EXPECT_EQ(Manager().FormSkins().size(), 1u) << "once, with one hook";
  const HWND window = form->Handle();

  TSkinManage::DestroyInstance();
  EXPECT_EQ(SendMessageW(window, SM_ISSKINNED, 0, 0), 0) << "the form skin left with the manager";
  EXPECT_EQ(LiveHandleCount(THandleKind::hkUser), users - 2) << "the hook and the system watch's window went too";
  TForm* later = MakeForm();
  later->Show();
  Pump();
  EXPECT_EQ(SendMessageW(later->Handle(), SM_ISSKINNED, 0, 0), 0) << "nobody skins after the end";
}

TEST_F(SkinManageTest, SkinWindowConditionsInOrder) {
  TSkinData* data = AddSkinData();
  TRawWindow plain(L"KvProbeWindow", 200, 120);
  TRawWindow zeroArea(L"KvProbeZero", 0, 0);
  TRawWindow application(L"TApplication", 200, 120);
  TRawWindow skinnedElsewhere(L"KvProbeSkinned", 200, 120, WS_POPUP | WS_CAPTION, AnswersSkinned);
  TRawWindow monthCalendar(L"SysMonthCal32", 200, 120);
  TForm* tag99 = MakeForm();
  tag99->SetTag(99);
  data->SetDisableTag(5);  // 99 is fixed, whatever DisableTag says
  tag99->HandleNeeded();

  struct TCase {
    const char* Name;
    HWND Window;
    bool Skinned;
  };
  const TCase cases[] = {
      {"zero area", zeroArea.Get(), false},
      {"the application window's class", application.Get(), false},
      {"already answers SM_ISSKINNED", skinnedElsewhere.Get(), false},
      {"a class the component refuses", monthCalendar.Get(), false},
      {"a form of Tag 99", tag99->Handle(), false},
      {"a plain foreign window", plain.Get(), true},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(Manager().SkinWindow(c.Window), c.Skinned) << c.Name;
    EXPECT_EQ(Manager().FindFormSkin(c.Window) != nullptr, c.Skinned) << c.Name;
  }
  EXPECT_FALSE(Manager().SkinWindow(plain.Get())) << "never twice";
  Manager().SetActive(false);
  TRawWindow another(L"KvProbeAnother", 200, 120);
  EXPECT_FALSE(Manager().SkinWindow(another.Get())) << "not while inactive";
}

TEST_F(SkinManageTest, AComponentWithoutSkinSkinsNothing) {
  AddSkinData(sfMainform, false);
  Manager().SetActive(true);
  TRawWindow plain(L"KvProbeNoSkin", 200, 120);
  EXPECT_FALSE(Manager().SkinWindow(plain.Get()));
}

TEST_F(SkinManageTest, AnEmbeddedFormIsSkinnedOnlyByTheBulkWalk) {
  TSkinData* data = AddSkinData();
  TRawWindow parent(L"KvProbeParent", 400, 300);
  TForm* embedded = MakeForm(bsNone, 100, 80);
  const HWND window = embedded->Handle();
  SetWindowLongW(window, GWL_STYLE, (GetWindowLongW(window, GWL_STYLE) & ~LONG(WS_POPUP)) | WS_CHILD | WS_VISIBLE);
  SetParent(window, parent.Get());
  EXPECT_TRUE(TSkinManage::IsEmbeddedChild(window));
  EXPECT_FALSE(Manager().SkinWindow(window));

  // The manager's own walk over the application's forms takes it.
  Manager().IncrementActivationCounter();
  Manager().SetPendingSkinData(data);
  Manager().RequestAction(saActivate, 250);
  EXPECT_TRUE(Manager().ActionTimer().Enabled());
  ASSERT_TRUE(PumpUntil([&] { return Manager().PendingSkinData() == nullptr; }));
  EXPECT_NE(Manager().FindFormSkin(window), nullptr);
  EXPECT_EQ(SendMessageW(window, SM_ISSKINNED, 0, 0), 1);
}

TEST_F(SkinManageTest, AnMdiChildIsSkinnedAsItComes) {
  AddSkinData();
  TForm* frame = MakeForm(bsSizeable, 500, 360);
  frame->SetFormStyle(fsMDIForm);
  TWinSkinForm* frameSkin = ShowSkinned(frame);
  ASSERT_NE(frameSkin, nullptr);
  EXPECT_EQ(frameSkin->FormKind(), fkMdiFrame);
  EXPECT_EQ(Manager().MdiClient(), frame->ClientHandle());

  TForm* child = App->CreateForm<TForm>();
  child->SetFormStyle(fsMDIChild);
  child->SetCaption(L"Child");
  TWinSkinForm* childSkin = ShowSkinned(child);
  ASSERT_NE(childSkin, nullptr);
  EXPECT_EQ(childSkin->FormKind(), fkMdiChild);
  EXPECT_EQ(childSkin->Form(), child);
  EXPECT_EQ(Manager().MdiChildCount(), 1);
}

TEST_F(SkinManageTest, ActivationBeforeAndAfterTheFirstWindow) {
  TSkinData* data = AddSkinData(sfMainform, true);
  // Before any window was activated a request switches at once; no timer runs.
  data->SetActive(false);
  EXPECT_FALSE(Manager().Active());
  EXPECT_FALSE(Manager().ActionTimer().Enabled());
  data->SetActive(true);
  EXPECT_TRUE(Manager().Active());
  TForm* form = MakeForm();
  ASSERT_NE(ShowSkinned(form), nullptr) << "the hook skins the first activated form";
  EXPECT_EQ(Manager().ActivationCounter(), 1);

  // After it, requests run from the timer.
  data->SetActive(false);
  EXPECT_TRUE(Manager().ActionTimer().Enabled());
  EXPECT_NE(Manager().FindFormSkin(form->Handle()), nullptr) << "not yet";
  ASSERT_TRUE(PumpUntil([&] { return Manager().FindFormSkin(form->Handle()) == nullptr; }));
  EXPECT_FALSE(Manager().Active());
  data->SetActive(true);
  ASSERT_TRUE(PumpUntil([&] { return Manager().FindFormSkin(form->Handle()) != nullptr; }));
}

TEST_F(SkinManageTest, DeactivatingOneFormsComponentLeavesTheOthers) {
  AddSkinData(sfMainform);
  TForm* first = MakeForm();
  TForm* second = MakeForm();
  ASSERT_NE(ShowSkinned(first), nullptr);
  ASSERT_NE(ShowSkinned(second), nullptr);
  // A component of its own on the second form.
  TForm* own = MakeForm();
  TSkinData* ownData = AddSkinData(sfOnlyThisForm, true, own);
  ASSERT_NE(Manager().FindFormSkin(own->Handle()), nullptr) << "skinned at once when loaded";
  EXPECT_EQ(Manager().FindSkinData(own->Handle()), ownData);
  EXPECT_EQ(Manager().FindFormSkin(own->Handle())->SkinData(), ownData);

  ownData->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return Manager().FindFormSkin(own->Handle()) == nullptr; }));
  EXPECT_NE(Manager().FindFormSkin(first->Handle()), nullptr);
  EXPECT_NE(Manager().FindFormSkin(second->Handle()), nullptr);
}

TEST_F(SkinManageTest, DeactivatingTheMainComponentUnskinsEveryForm) {
  TSkinData* data = AddSkinData(sfMainform);
  TForm* first = MakeForm();
  TForm* second = MakeForm();
  ASSERT_NE(ShowSkinned(first), nullptr);
  ASSERT_NE(ShowSkinned(second), nullptr);
  data->SetActive(false);
  ASSERT_TRUE(PumpUntil([&] { return Manager().FormSkins().empty(); }));
  EXPECT_EQ(SendMessageW(first->Handle(), SM_ISSKINNED, 0, 0), 0);
  EXPECT_EQ(SendMessageW(second->Handle(), SM_ISSKINNED, 0, 0), 0);
}

TEST_F(SkinManageTest, MessageBoxesFollowTheDialogComponentWhenThereIsOne) {
  TSkinData* main = AddSkinData(sfMainform);
  TRawWindow box(L"TMessageForm", 200, 120);  // a message box of the framework's kind
  TRawWindow other(L"KvProbeOther", 200, 120);
  EXPECT_EQ(Manager().FindSkinData(box.Get()), main);
  TSkinData* dialogs = AddSkinData(sfDialog);
  EXPECT_EQ(Manager().FindSkinData(box.Get()), dialogs);
  EXPECT_EQ(Manager().FindSkinData(other.Get()), main);

  // A real message box comes up skinned by it; a thread timer looks while it shows.
  TForm* form = MakeForm();
  ASSERT_NE(ShowSkinned(form), nullptr);
  static TSkinData* expected;
  static bool skinned;
  expected = dialogs;
  skinned = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR id, DWORD) {
    const HWND shown = FindWindowW(L"#32770", L"Skinned box");
    if (!shown) return;
    KillTimer(nullptr, id);
    const TWinSkinForm* boxSkin = TSkinManage::Instance()->FindFormSkin(shown);
    skinned = boxSkin && boxSkin->SkinData() == expected && boxSkin->SkinState() == fsReady;
    PostMessageW(shown, WM_COMMAND, IDOK, 0);
  });
  MessageBoxW(form->Handle(), L"text", L"Skinned box", MB_OK);
  KillTimer(nullptr, timer);
  EXPECT_TRUE(skinned);
}

TEST_F(SkinManageTest, ASizeGripIsRefusedOnlyOnASkinnedFrame) {
  AddSkinData();
  TForm* form = MakeForm();
  ASSERT_NE(ShowSkinned(form), nullptr);
  TRawWindow unskinned(L"KvProbeGrip", 200, 120, WS_POPUP | WS_CAPTION);
  auto grip = [](HWND parent) {
    return CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | WS_VISIBLE | SBS_SIZEGRIP, 0, 0, 16, 16, parent, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  };
  EXPECT_EQ(grip(form->Handle()), nullptr);
  const HWND allowed = grip(unskinned.Get());
  EXPECT_NE(allowed, nullptr);
  const HWND plainBar = CreateWindowExW(0, L"ScrollBar", L"", WS_CHILD | SBS_HORZ, 0, 0, 60, 16, form->Handle(),
                                        nullptr, GetModuleHandleW(nullptr), nullptr);
  EXPECT_NE(plainBar, nullptr) << "other scroll bars are fine";
  DestroyWindow(plainBar);
}

TEST_F(SkinManageTest, AFormSkinWhoseWindowWentIsFreedAtTheNextPurge) {
  AddSkinData();
  TForm* form = MakeForm();
  TWinSkinForm* skin = ShowSkinned(form);
  ASSERT_NE(skin, nullptr);
  App->DestroyComponent(form);
  ASSERT_EQ(Manager().FormSkins().size(), 1u) << "kept until the purge";
  EXPECT_EQ(skin->SkinState(), fsClosed);
  EXPECT_FALSE(skin->Subclassed());
  EXPECT_TRUE(Manager().PurgePending());
  EXPECT_TRUE(PumpUntil([&] { return Manager().FormSkins().empty(); }));
}

// The system's colours or theme changed: the manager hears it through its own hidden
// top-level window (broadcasts reach only those) and what the skin made from its colours
// is made again.
TEST_F(SkinManageTest, ColourAndThemeChangesRemakeWhatWasMadeFromColours) {
  TSkinData* data = AddSkinData();
  const HWND watch = Manager().WatchWindow();
  ASSERT_NE(watch, nullptr);
  EXPECT_EQ(GetParent(watch), nullptr) << "top-level, or no broadcast reaches it";
  EXPECT_FALSE(IsWindowVisible(watch));
  const auto brushColour = [data] {
    LOGBRUSH brush{};
    GetObjectW(data->ButtonFaceBrush(), sizeof(brush), &brush);
    return brush.lbColor;
  };
  const struct {
    UINT Message;
    COLORREF Face;
  } changes[] = {{WM_SYSCOLORCHANGE, RGB(12, 34, 56)}, {WM_THEMECHANGED, RGB(65, 43, 21)}};
  for (const auto& change : changes) {
    SCOPED_TRACE(change.Message);
    // Stands in for a system colour that changed under the skin.
    data->Model().Colours.ButtonFaceColour = change.Face;
    EXPECT_NE(brushColour(), change.Face);
    SendMessageW(watch, change.Message, 0, 0);
    EXPECT_EQ(brushColour(), change.Face);
  }
}

}  // namespace
}  // namespace kv::test
